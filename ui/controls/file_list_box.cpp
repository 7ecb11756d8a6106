#include "ui/controls/file_list_box.h"

namespace ui {

FileListBox::FileListBox(platform::Platform& fs, QWidget* parent) : QListWidget(parent), m_fs(fs) {}

void FileListBox::setPath(std::string_view path) {
    m_path = path;
}

void FileListBox::setShowHidden(bool show) {
    m_showHidden = show;
}
void FileListBox::setShowSystem(bool show) {
    m_showSystem = show;
}
void FileListBox::setShowReadOnly(bool show) {
    m_showReadOnly = show;
}

void FileListBox::refresh() {}

std::string FileListBox::fileName() const {
    return {};
}

std::string FileListBox::entryName(int) const {
    return {};
}

bool FileListBox::isSelected(int) const {
    return false;
}

} // namespace ui
