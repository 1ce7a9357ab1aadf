#include "PulseTexts.h"

#include "OvrelModuleKit/text/LocalizedText.h"

#include <QMap>

namespace ovrel::pulse {

namespace {

using Texts = QMap<QString, QString>;

const QMap<PulseText, LocalizedText>& table() {
    static const QMap<PulseText, LocalizedText> texts{
        {PulseText::nextBreakAt, LocalizedText(Texts{{"vi", "Lần nghỉ tới lúc %1"},
                                                     {"en", "Next break at %1"},
                                                     {"zh", "下次休息：%1"},
                                                     {"ja", "次の休憩：%1"},
                                                     {"ko", "다음 휴식: %1"},
                                                     {"fr", "Prochaine pause à %1"},
                                                     {"es", "Próximo descanso a las %1"}})},
        {PulseText::paused, LocalizedText(Texts{{"vi", "Đang tạm dừng"},
                                                {"en", "Paused"},
                                                {"zh", "已暂停"},
                                                {"ja", "一時停止中"},
                                                {"ko", "일시 중지됨"},
                                                {"fr", "En pause"},
                                                {"es", "En pausa"}})},
        {PulseText::pausedUntil, LocalizedText(Texts{{"vi", "Tạm dừng đến %1"},
                                                     {"en", "Paused until %1"},
                                                     {"zh", "暂停至 %1"},
                                                     {"ja", "%1 まで一時停止"},
                                                     {"ko", "%1까지 일시 중지"},
                                                     {"fr", "En pause jusqu'à %1"},
                                                     {"es", "En pausa hasta las %1"}})},
        {PulseText::remindersOn, LocalizedText(Texts{{"vi", "Bật lời nhắc"},
                                                     {"en", "Reminders on"},
                                                     {"zh", "提醒已开启"},
                                                     {"ja", "リマインダー オン"},
                                                     {"ko", "알림 켜짐"},
                                                     {"fr", "Rappels activés"},
                                                     {"es", "Recordatorios activados"}})},
        {PulseText::pause, LocalizedText(Texts{{"vi", "Tạm dừng"},
                                               {"en", "Pause"},
                                               {"zh", "暂停"},
                                               {"ja", "一時停止"},
                                               {"ko", "일시 중지"},
                                               {"fr", "Pause"},
                                               {"es", "Pausar"}})},
        {PulseText::pauseFor15Minutes, LocalizedText(Texts{{"vi", "15 phút"},
                                                           {"en", "For 15 minutes"},
                                                           {"zh", "15 分钟"},
                                                           {"ja", "15 分間"},
                                                           {"ko", "15분 동안"},
                                                           {"fr", "Pendant 15 minutes"},
                                                           {"es", "Durante 15 minutos"}})},
        {PulseText::pauseFor1Hour, LocalizedText(Texts{{"vi", "1 giờ"},
                                                       {"en", "For 1 hour"},
                                                       {"zh", "1 小时"},
                                                       {"ja", "1 時間"},
                                                       {"ko", "1시간 동안"},
                                                       {"fr", "Pendant 1 heure"},
                                                       {"es", "Durante 1 hora"}})},
        {PulseText::pauseUntilResumed,
         LocalizedText(Texts{{"vi", "Đến khi bật lại"},
                             {"en", "Until I turn them back on"},
                             {"zh", "直到我重新开启"},
                             {"ja", "再開するまで"},
                             {"ko", "다시 켤 때까지"},
                             {"fr", "Jusqu'à ce que je les réactive"},
                             {"es", "Hasta que los vuelva a activar"}})},
        {PulseText::resume, LocalizedText(Texts{{"vi", "Tiếp tục"},
                                                {"en", "Resume"},
                                                {"zh", "继续"},
                                                {"ja", "再開"},
                                                {"ko", "다시 시작"},
                                                {"fr", "Reprendre"},
                                                {"es", "Reanudar"}})},
        {PulseText::breakTitle, LocalizedText(Texts{{"vi", "Đến giờ nghỉ rồi"},
                                                    {"en", "Time for a break"},
                                                    {"zh", "该休息了"},
                                                    {"ja", "休憩の時間です"},
                                                    {"ko", "쉴 시간이에요"},
                                                    {"fr", "C'est l'heure de la pause"},
                                                    {"es", "Hora de descansar"}})},
        {PulseText::breakBody,
         LocalizedText(Texts{{"vi", "Đứng dậy, vươn vai và cho mắt nghỉ một chút."},
                             {"en", "Stand up, stretch and rest your eyes for a moment."},
                             {"zh", "起身伸展一下，让眼睛休息片刻。"},
                             {"ja", "立ち上がって体を伸ばし、目を少し休めましょう。"},
                             {"ko", "일어나서 기지개를 켜고 잠시 눈을 쉬게 하세요."},
                             {"fr", "Levez-vous, étirez-vous et reposez vos yeux un instant."},
                             {"es", "Levántate, estírate y descansa la vista un momento."}})},
    };
    return texts;
}

} // namespace

QString text(PulseText which, const QString& language) {
    return table().value(which).text(language).value_or(QString());
}

} // namespace ovrel::pulse
