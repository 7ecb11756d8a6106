#pragma once

// The attributes dialog: shows read-only, hidden, system and archive of one file, with its path
// and date, and writes a changed value back on OK, after which the list that shows the file is
// refreshed.

#include "platform/platform.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace ui {

class Prompts;

class AttributesDialog : public QDialog {
    Q_OBJECT

public:
    // The file `fileName` in `folder`; `refreshList` re-reads the list that shows it.
    AttributesDialog(const std::string& folder, const std::string& fileName,
                     std::function<void()> refreshList, platform::Platform& fs, Prompts& prompts,
                     QWidget* parent = nullptr);

    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    // Read-only, hidden, system, archive: the order of core::AttrBit.
    std::array<QCheckBox*, 4> attributeBoxes{};
    QLabel* fileLabel = nullptr;
    QLabel* groupTitle = nullptr;
    QLabel* dateLabel = nullptr;
    QFrame* groupFrame = nullptr;

    // The folder with its trailing backslash, and the file's path in it.
    const std::string& folder() const { return m_folder; }
    const std::string& filePath() const { return m_file; }
    // The value OK applies. Held in 32 bits so that any attribute value the file system reports
    // can be read and, without a box click, written back unchanged.
    std::uint32_t attributes() const { return m_attributes; }

protected:
    // Esc does not close this dialog; only the buttons and the close box do.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void showFile();
    void readAttributes();
    void takeBoxes();
    void apply();

    std::string m_folder;
    std::string m_file;
    std::uint32_t m_attributes = 0;
    std::function<void()> m_refreshList;
    platform::Platform& m_fs;
    Prompts& m_prompts;
};

} // namespace ui
