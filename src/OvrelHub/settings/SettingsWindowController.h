#pragma once

#include "OvrelHub/settings/SettingsRoute.h"
#include "OvrelHub/settings/SettingsServices.h"
#include "OvrelHub/settings/SettingsView.h"
#include "OvrelHub/shell/EditionSettings.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace ovrel {

// Keeps the one settings window. show() replaces an open window with a new
// one at the given route (the route is never remembered). The title follows
// the interface language; Ctrl+W closes the window, Escape does not. Main
// thread; the services must outlive the controller.
class SettingsWindowController : public QObject {
    Q_OBJECT
public:
    static constexpr int kWidth = 698;
    static constexpr int kHeight = 960;

    explicit SettingsWindowController(SettingsServices& services, QObject* parent = nullptr);

    void show(std::shared_ptr<EditionSettings> edition,
              SettingsRoute route = SettingsRoute::general());

    QWidget* window() const { return m_window; }
    SettingsView* view() const { return m_view; }

private:
    void retitle();

    SettingsServices& m_services;
    QPointer<QWidget> m_window;
    QPointer<SettingsView> m_view;
};

} // namespace ovrel
