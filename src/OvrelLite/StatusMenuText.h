#pragma once

#include <QFuture>
#include <QString>

namespace ovrel {

class LiteAppDelegate;

// The status menu as text (MenuText), as it stands once the installed modules
// have been read afresh, with the sections running modules publish placed
// where an opening of the menu puts them. The delegate must outlive the future.
QFuture<QString> statusMenuText(LiteAppDelegate& delegate);

} // namespace ovrel
