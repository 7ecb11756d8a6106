#pragma once

#include "platform/platform.h"

#include <QListWidget>
#include <string>
#include <string_view>

namespace ui {

// The files (not folders) of one folder, sorted by name without regard to case, filtered by
// their attributes; single selection.
class FileListBox : public QListWidget {
    Q_OBJECT

public:
    explicit FileListBox(platform::Platform& fs, QWidget* parent = nullptr);

    // Lists the files of a folder; the path is kept as the file system spells it. A path that
    // is not a folder lists nothing.
    void setPath(std::string_view path);
    std::string path() const { return m_path; }

    // A file is listed only when every one of its hidden, system and read-only attributes is
    // shown. The flags take effect at the next refresh() or setPath().
    void setShowHidden(bool show);
    void setShowSystem(bool show);
    void setShowReadOnly(bool show);
    bool showHidden() const { return m_showHidden; }
    bool showSystem() const { return m_showSystem; }
    bool showReadOnly() const { return m_showReadOnly; }

    void refresh();

    // The selected file's exact name; empty when none is selected.
    std::string fileName() const;
    int listCount() const { return count(); }
    // The exact name of entry i (0-based); empty when out of range.
    std::string entryName(int i) const;
    bool isSelected(int i) const;

private:
    platform::Platform& m_fs;
    std::string m_path;
    bool m_showHidden = false;
    bool m_showSystem = false;
    bool m_showReadOnly = true;
};

} // namespace ui
