#include "OvrelHub/settings/SettingsWindowController.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/settings/SettingsView.h"
#include "OvrelHub/settings/WindowPlacement.h"
#include "OvrelHub/shell/HubSettings.h"
#include "Platform/notify/NotificationCenter.h"

#include <QAction>
#include <QVBoxLayout>

namespace ovrel {

SettingsWindowController::SettingsWindowController(SettingsServices& services, QObject* parent)
    : QObject(parent), m_services(services) {
    m_services.center.observe(QString::fromLatin1(HubSettings::kLanguageChanged), this,
                              [this] { retitle(); });
}

void SettingsWindowController::show(std::shared_ptr<EditionSettings> edition, SettingsRoute route) {
    if (m_window)
        m_window->close();

    auto* window = new QWidget();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("settingsWindow"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new SettingsView(m_services, std::move(edition), std::move(route));
    layout->addWidget(m_view);

    auto* closeAction = new QAction(window);
    // Ctrl+W whatever the platform's own binding for closing is.
    QList<QKeySequence> closeKeys = QKeySequence::keyBindings(QKeySequence::Close);
    if (!closeKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
        closeKeys.prepend(QKeySequence(Qt::CTRL | Qt::Key_W));
    closeAction->setShortcuts(closeKeys);
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, window, &QWidget::close);
    window->addAction(closeAction);

    m_window = window;
    retitle();
    const QSize wanted = WindowPlacement::capped(QSize(kWidth, kHeight));
    window->setMinimumSize(m_view->minimumSize().boundedTo(wanted));
    m_view->setMinimumSize(window->minimumSize());
    window->resize(wanted);
    WindowPlacement::centreAndRaise(*window);
}

void SettingsWindowController::retitle() {
    if (m_window)
        m_window->setWindowTitle(
            Loc::t(LocKey::windowTitleSettings, m_services.settings.appLanguage()));
}

} // namespace ovrel
