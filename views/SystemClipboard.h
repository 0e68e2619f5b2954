#pragma once
// Puts plain text on the system clipboard.

#include <QString>

namespace vpr {

// Up to three attempts to put the text on the clipboard as plain text; true at the first that
// succeeds. Nothing is shown when every attempt fails.
bool putTextOnClipboard(const QString& text);

} // namespace vpr
