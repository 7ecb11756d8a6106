#include "ui/controls/folder_list_box.h"

namespace ui {

FolderListBox::FolderListBox(platform::Platform& fs, QWidget* parent)
    : QTreeWidget(parent), m_fs(fs) {}

std::string FolderListBox::path() const {
    return m_path;
}

bool FolderListBox::setPath(std::string_view) {
    return false;
}

void FolderListBox::refresh() {}

void FolderListBox::keyPressEvent(QKeyEvent* event) {
    QTreeWidget::keyPressEvent(event);
}

void FolderListBox::openItem(QTreeWidgetItem*) {}

void FolderListBox::rebuild() {}

} // namespace ui
