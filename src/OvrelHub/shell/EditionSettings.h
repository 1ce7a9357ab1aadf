#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace ovrel {

// How an edition of the product adds its own page to the settings window.
class EditionSettings {
public:
    virtual ~EditionSettings() = default;
    QString iconSymbol;
    QString title;
    // The page shown for the edition; the base page is empty.
    virtual QWidget* pane(QWidget* parent) const;
};

using EditionProvider = std::function<std::shared_ptr<EditionSettings>()>;

} // namespace ovrel
