#pragma once

// A check button operated through the accessibility bus acts as when it is clicked. Qt's own
// interface toggles a check button for a screen reader without a click, so the toolbar's
// "Attribute" button showed as pressed while the file view stayed as it was, and a box of the
// attributes dialog toggled that way was lost to OK. Setting the state from code still
// delivers nothing.

namespace ui {

// Installs the interface for every check box and tool button (pressed or toggled, it clicks);
// once per program, before the first window.
void installAccessibleCheckButtons();

} // namespace ui
