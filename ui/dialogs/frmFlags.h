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
} // namespace ui

class frmFlags : public QDialog {
    Q_OBJECT

public:
    // The file `fileName` in `folder`; `refreshList` re-reads the list that shows it.
    frmFlags(const std::string& folder, const std::string& fileName,
             std::function<void()> refreshList, platform::Platform& fs, ui::Prompts& prompts,
             QWidget* parent = nullptr);

    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    std::array<QCheckBox*, 4> Check1{};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QFrame* Shape1 = nullptr;

    // Attribute bit of each box.
    std::array<std::uint32_t, 4> AttrBit{};
    // The value OK applies. Held in 32 bits so that any attribute value the file system
    // reports can be read and, without a box click, written back unchanged.
    std::uint32_t iAttributes = 0;
    std::string sFolder;
    std::string sFile;

protected:
    // Esc does not close this dialog; only the buttons and the close box do.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void Form_Load();
    void readAttributes();
    void Check1_Click();
    void OKButton_Click();

    std::function<void()> m_refreshList;
    platform::Platform& m_fs;
    ui::Prompts& m_prompts;
};
