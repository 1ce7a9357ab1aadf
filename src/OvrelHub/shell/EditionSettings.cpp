#include "OvrelHub/shell/EditionSettings.h"

#include <QWidget>

namespace ovrel {

QWidget* EditionSettings::pane(QWidget* parent) const {
    return new QWidget(parent);
}

} // namespace ovrel
