#pragma once

#include "platform/platform.h"

#include <QComboBox>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Prompts;

// The drive list: one entry per drive of the platform's table, shown as "c: [/]", and after them
// the share root of the last folder shown on a network path that no letter maps
// ("\\server\share"), so that a view started there shows where it is and can go back to it.
class DriveListBox : public QComboBox {
    Q_OBJECT

public:
    DriveListBox(platform::Platform& fs, Prompts& prompts, QWidget* parent = nullptr);

    // The current drive's text ("c: [/]") or share root; empty when the table has no drives.
    std::string drive() const;
    // Selects the drive or share root of any path text ("d: [x]", "D:", "d:\x\y",
    // "\\s\d\x"). A drive that is not in the table, or a drive or share that cannot be read,
    // leaves the current one and shows a message.
    void setDrive(std::string_view anyPath);
    // Re-reads the drive table, keeping the current drive when it is still there.
    void refreshDrives();
    // Drives come and go (a stick plugged in or pulled out): the list is read again whenever
    // it is opened.
    void showPopup() override;

signals:
    // The current drive has changed, by the user or by code.
    void changed();

private:
    void onActivated(int index);
    // Makes `index` the current drive if its root can be read; otherwise tells the user and
    // keeps the current drive. True when the drive is (now) the current one.
    bool select(int index);
    // Fills the list from the drive table and the share root.
    void fill();
    int indexOfLetter(char letter) const;
    int shareIndex() const { return static_cast<int>(m_drives.size()); }
    // Whether `root` can be read; if not, tells the user that `drive` is not ready.
    bool answers(std::string_view root, std::string_view drive);
    // `drive`: "e:" or the share root.
    void reportNotReady(std::string_view drive);

    platform::Platform& m_fs;
    Prompts& m_prompts;
    // The drive texts exactly as the platform gave them; the combo shows them as QString.
    std::vector<platform::Drive> m_drives;
    // The share root listed after the drives; empty: none.
    std::string m_share;
    int m_current = -1;
};

} // namespace ui
