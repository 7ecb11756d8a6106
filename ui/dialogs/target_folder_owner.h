#pragma once

// What the target folder dialog needs of the window that opens it, and no more: the shared
// target folder (kept on the folder the dialog shows), the mode, the prefix choice, the status
// panel for the target, and the copy or move itself.

#include "platform/platform.h"
#include "ui/controls/prompts.h"

#include <string>

namespace ui {

class TargetFolderOwner {
public:
    virtual ~TargetFolderOwner() = default;

    virtual platform::Platform& platform() = 0;
    virtual Prompts& prompts() = 0;
    // The target folder: read when the dialog opens, rewritten as its folder changes.
    virtual std::string& targetPath() = 0;
    // The identity of the folder the dialog showed as targetPath() when OK was pressed; the copy
    // or move writes only into that very folder.
    virtual platform::FileId& targetId() = 0;
    // Whether the files are to be moved: the caption says move or copy.
    virtual bool moving() const = 0;
    // Whether the copies' names get their list position in front, as OK or cancel leave it.
    virtual void setPrefix(bool prefix) = 0;
    // "Zielordner: " and the target folder in the status bar.
    virtual void showTargetFolder() = 0;
    // Copies or moves every listed file into the target folder.
    virtual void copyOrMove() = 0;
};

} // namespace ui
