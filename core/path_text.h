#pragma once

// The program's path text: a drive letter, a colon and backslashes ("C:\Daten\Brief.txt"), or a
// network path whose share root plays the part of "C:\" ("\\server\share\Brief.txt"); and the
// drive texts of the drive lists ("c: [/]"). The text is taken apart by the platform's parser
// (platform/path_syntax.h), which every backend uses too.

#include "platform/path_syntax.h"

#include <string>
#include <string_view>

namespace core {

using platform::driveLetterOf;

// True for a drive as the drive lists name it ("d: [x]", "D:"), not a path on it ("D:\x").
bool isDriveText(std::string_view text);

// The share root a network path starts with ("\\server\share" of "\\server\share\x"); empty
// when the text does not start with one, or is no path text.
std::string_view shareRootOf(std::string_view text);

// True when the text, leading blanks aside, begins with an ASCII letter (a drive letter, without
// looking further) or a share root: the path texts a bulk operation acts on.
bool beginsWithDrive(std::string_view text);

// True when both texts start with the same drive letter, in either case, or the same share root.
bool onSameDrive(std::string_view a, std::string_view b);

// The folder text ending in one "\" ("" gives "\", the current drive's root).
std::string withTrailingBackslash(std::string folder);

// The folder and the name with one "\" between them.
std::string joinPath(std::string_view folder, std::string_view name);

// The folder above: "C:\a\b" -> "C:\a", "C:\a" -> "C:\", "C:\" -> ""; "\\s\d\a" -> "\\s\d",
// "\\s\d" -> "".
std::string parentOf(std::string_view path);

// Path text as found by the platform ("C:\a", "\\s\d\a") in its exact form ("\\?\C:\a",
// "\\?\UNC\s\d\a").
std::string exactPathText(std::string_view path);

} // namespace core
