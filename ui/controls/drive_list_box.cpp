#include "ui/controls/drive_list_box.h"

#include "ui/controls/prompts.h"

namespace ui {

DriveListBox::DriveListBox(platform::Platform& fs, Prompts& prompts, QWidget* parent)
    : QComboBox(parent), m_fs(fs), m_prompts(prompts) {}

std::string DriveListBox::drive() const {
    return {};
}

void DriveListBox::setDrive(std::string_view) {}

void DriveListBox::refreshDrives() {}

void DriveListBox::onActivated(int) {}

bool DriveListBox::select(int) {
    return false;
}

int DriveListBox::indexOfLetter(char) const {
    return -1;
}

} // namespace ui
