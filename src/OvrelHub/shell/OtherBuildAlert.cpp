#include "OvrelHub/shell/OtherBuildAlert.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/shell/Trace.h"
#include "Platform/process/Workspace.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace ovrel {

OtherBuildAlert::Texts OtherBuildAlert::texts(AppLanguage language) {
    return {Loc::t(LocKey::otherBuildTitle, language), Loc::t(LocKey::otherBuildBody, language),
            Loc::t(LocKey::revealInFinder, language), Loc::t(LocKey::quitOvrel, language)};
}

OtherBuildAlert::Presenter OtherBuildAlert::messageBoxPresenter() {
    return [](const Texts& texts) {
        QMessageBox box(QMessageBox::Warning, texts.title, texts.title);
        box.setInformativeText(texts.body);
        QPushButton* reveal = box.addButton(texts.revealButton, QMessageBox::AcceptRole);
        box.addButton(texts.quitButton, QMessageBox::RejectRole);
        box.setDefaultButton(reveal);
        QApplication::setActiveWindow(&box);
        box.raise();
        box.exec();
        return box.clickedButton() == reveal ? Choice::reveal : Choice::quit;
    };
}

void OtherBuildAlert::show(const QString& otherApp, AppLanguage language, Workspace& workspace,
                           const Presenter& presenter) {
    Trace::force(QStringLiteral("chốt chặn: máy có bản kia tại ") + otherApp +
                 QStringLiteral(" → hiện hộp thoại rồi thoát"));
    if (presenter(texts(language)) == Choice::reveal)
        workspace.revealInFileViewer(otherApp);
}

} // namespace ovrel
