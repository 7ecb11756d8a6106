#pragma once

#include "platform/platform.h"

#include <QComboBox>
#include <string>
#include <string_view>

namespace ui {

class Prompts;

// The drive list: one entry per drive of the platform's table, shown as "c: [/]".
class DriveListBox : public QComboBox {
    Q_OBJECT

public:
    DriveListBox(platform::Platform& fs, Prompts& prompts, QWidget* parent = nullptr);

    // The current drive's text ("c: [/]"); empty when the table has no drives.
    std::string drive() const;
    // Selects the drive of any path text ("d: [x]", "D:", "d:\x\y"). A drive that is not in
    // the table or cannot be read leaves the current one and shows a message.
    void setDrive(std::string_view anyPath);
    // Re-reads the drive table, keeping the current drive when it is still there.
    void refreshDrives();

signals:
    // The current drive has changed, by the user or by code.
    void changed();

private:
    void onActivated(int index);
    bool select(int index);
    int indexOfLetter(char letter) const;

    platform::Platform& m_fs;
    Prompts& m_prompts;
    int m_current = -1;
};

} // namespace ui
