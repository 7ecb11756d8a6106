#pragma once

// A screen reader reads and edits the log viewer's text box as it would any text edit: the text
// by lines, words and characters, the cursor and the selection, and each change as it happens.

#include <QString>

#include <cstdint>

namespace ui {

class LogTextBox;

// Installs the interface; the box calls it itself, once per program is enough.
void installLogTextBoxAccessibility();

// Tell a listening screen reader what changed; nothing is worked out when none listens.
void announceCursor(LogTextBox& box);
void announceEdit(LogTextBox& box, std::int64_t offset, const QString& removed,
                  const QString& inserted);

} // namespace ui
