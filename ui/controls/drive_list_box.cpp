#include "ui/controls/drive_list_box.h"

#include "ui/controls/prompts.h"

#include "core/path_text.h"
#include "ui/controls/utf8_text.h"

#include <QSignalBlocker>

namespace ui {

DriveListBox::DriveListBox(platform::Platform& fs, Prompts& prompts, QWidget* parent)
    : QComboBox(parent), m_fs(fs), m_prompts(prompts) {
    setAccessibleName(QStringLiteral("Laufwerk"));
    setEditable(false);
    refreshDrives();
    connect(this, &QComboBox::activated, this, &DriveListBox::onActivated);
}

std::string DriveListBox::drive() const {
    if (m_current < 0)
        return {};
    return m_drives[static_cast<std::size_t>(m_current)].text;
}

void DriveListBox::setDrive(std::string_view anyPath) {
    const char letter = core::driveLetterOf(anyPath);
    if (letter == 0)
        return;
    const int index = indexOfLetter(letter);
    if (index < 0)
        reportNotReady(letter);
    else
        select(index);
}

void DriveListBox::refreshDrives() {
    const char previous = m_current >= 0 ? m_drives[static_cast<std::size_t>(m_current)].letter : 0;
    m_drives = m_fs.drives();
    {
        const QSignalBlocker blocker(this);
        clear();
        for (const platform::Drive& d : m_drives)
            addItem(ui::fromUtf8(d.text));
    }
    int index = previous ? indexOfLetter(previous) : -1;
    if (index < 0)
        index = indexOfLetter(m_fs.currentDrive());
    if (index < 0 && !m_drives.empty())
        index = 0;
    const bool lost =
        previous && index >= 0 && m_drives[static_cast<std::size_t>(index)].letter != previous;
    m_current = index;
    setCurrentIndex(index);
    // The drive that was shown has gone away; whoever follows the list must move too.
    if (lost)
        emit changed();
}

void DriveListBox::showPopup() {
    refreshDrives();
    QComboBox::showPopup();
}

void DriveListBox::onActivated(int index) {
    if (!select(index))
        setCurrentIndex(m_current);
}

bool DriveListBox::select(int index) {
    if (index == m_current)
        return true;
    const platform::Drive& d = m_drives[static_cast<std::size_t>(index)];
    platform::Listing listing;
    const std::string root{d.letter, ':', '\\'};
    if (m_fs.listFolder(root, platform::ListDetail::Kind, listing)) {
        reportNotReady(d.letter);
        return false;
    }
    m_current = index;
    setCurrentIndex(index);
    emit changed();
    return true;
}

int DriveListBox::indexOfLetter(char letter) const {
    for (std::size_t i = 0; i < m_drives.size(); ++i) {
        if (m_drives[i].letter == letter)
            return static_cast<int>(i);
    }
    return -1;
}

void DriveListBox::reportNotReady(char letter) {
    m_prompts.message(QStringLiteral("Laufwerk %1: ist nicht bereit.").arg(QLatin1Char(letter)),
                      QStringLiteral("Tilgomat"), Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

} // namespace ui
