#include "OvrelHub/runner/BlockedLaunchAlert.h"

#include "OvrelConfig/Loc.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace ovrel {

BlockedLaunchAlert::Texts BlockedLaunchAlert::texts(const QString& moduleId,
                                                    const ModuleLaunchBlock& block,
                                                    AppLanguage language) {
    QString informative;
    switch (block.kind()) {
    case ModuleLaunchBlock::Kind::macOSTooOld:
        informative = Loc::format(LocKey::appsNeedsMacOSFormat, language, {block.shownValue()});
        break;
    case ModuleLaunchBlock::Kind::invalidMinMacOS:
        informative = Loc::format(LocKey::appsModuleInvalidMacOSFormat, language,
                                  {moduleId, block.shownValue()});
        break;
    }
    return {moduleId, informative, Loc::t(LocKey::close, language)};
}

std::unique_ptr<QMessageBox> BlockedLaunchAlert::messageBox(const Texts& texts) {
    auto box = std::make_unique<QMessageBox>();
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(texts.message);
    box->setTextFormat(Qt::PlainText);
    box->setText(texts.message);
    box->setInformativeText(texts.informative);
    // The informative label guesses its format from the text; a manifest's
    // value must show as written.
    for (QLabel* label : box->findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    box->addButton(texts.button, QMessageBox::AcceptRole);
    return box;
}

BlockedLaunchAlert::Presenter BlockedLaunchAlert::messageBoxPresenter() {
    return [](const Texts& texts) {
        QCoreApplication* application = QCoreApplication::instance();
        if (!application)
            return;
        QMetaObject::invokeMethod(
            application,
            [texts] {
                const std::unique_ptr<QMessageBox> box = messageBox(texts);
                QApplication::setActiveWindow(box.get());
                box->raise();
                box->activateWindow();
                box->exec();
            },
            Qt::QueuedConnection);
    };
}

} // namespace ovrel
