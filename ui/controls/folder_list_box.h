#pragma once

#include "platform/platform.h"

#include <QTreeWidget>
#include <string>
#include <string_view>

namespace ui {

// The folder list: the folders of the current path from the drive root down, and below the
// current folder its subfolders, hidden ones included. Double-click or Enter opens a folder.
class FolderListBox : public QTreeWidget {
    Q_OBJECT

public:
    explicit FolderListBox(platform::Platform& fs, QWidget* parent = nullptr);

    // "C:\" for a drive root, otherwise without a trailing backslash, spelled as stored.
    std::string path() const;
    // Moves to a folder; a drive text ("d: [x]", "D:") means that drive's current folder.
    // Returns false and stays where it was when the path does not lead to a folder.
    bool setPath(std::string_view path);
    // Re-reads the tree, keeping the path (or its nearest existing parent).
    void refresh();
    // Identity of the folder shown as path(), as its last reading found it; unknown where it
    // could not be read.
    platform::FileId folderId() const { return m_folderId; }

signals:
    // The path has changed, by the user or by code.
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openItem(QTreeWidgetItem* item);
    void rebuild();

    platform::Platform& m_fs;
    std::string m_path;
    platform::FileId m_folderId;
};

} // namespace ui
