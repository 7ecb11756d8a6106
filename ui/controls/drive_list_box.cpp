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
    if (m_current == shareIndex())
        return m_share;
    return m_drives[static_cast<std::size_t>(m_current)].text;
}

void DriveListBox::setDrive(std::string_view anyPath) {
    if (const std::string_view share = core::shareRootOf(anyPath); !share.empty()) {
        if (m_current == shareIndex() && core::onSameDrive(share, m_share))
            return;
        // Listed only once it can be read, as a drive is chosen only then.
        if (!answers(share, share))
            return;
        m_share = share;
        m_current = shareIndex();
        fill();
        emit changed();
        return;
    }
    const char letter = core::driveLetterOf(anyPath);
    if (letter == 0)
        return;
    const int index = indexOfLetter(letter);
    if (index < 0)
        reportNotReady(std::string{letter, ':'});
    else
        select(index);
}

void DriveListBox::refreshDrives() {
    const bool onShare = m_current >= 0 && m_current == shareIndex();
    const char previous =
        m_current >= 0 && !onShare ? m_drives[static_cast<std::size_t>(m_current)].letter : 0;
    m_drives = m_fs.drives();
    fill();
    int index = onShare ? shareIndex() : previous ? indexOfLetter(previous) : -1;
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

void DriveListBox::fill() {
    const QSignalBlocker blocker(this);
    clear();
    for (const platform::Drive& d : m_drives)
        addItem(ui::fromUtf8(d.text));
    if (!m_share.empty())
        addItem(ui::fromUtf8(m_share));
    setCurrentIndex(m_current < count() ? m_current : -1);
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
    const bool share = index == shareIndex();
    const char letter = share ? 0 : m_drives[static_cast<std::size_t>(index)].letter;
    if (!answers(share ? m_share : std::string{letter, ':', '\\'},
                 share ? m_share : std::string{letter, ':'}))
        return false;
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

bool DriveListBox::answers(std::string_view root, std::string_view drive) {
    platform::Listing listing;
    if (!m_fs.listFolder(root, platform::ListDetail::Kind, listing))
        return true;
    reportNotReady(drive);
    return false;
}

void DriveListBox::reportNotReady(std::string_view drive) {
    m_prompts.message(QStringLiteral("Laufwerk %1 ist nicht bereit.").arg(ui::fromUtf8(drive)),
                      QStringLiteral("Tilgomat"), Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

} // namespace ui
