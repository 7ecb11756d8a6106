#pragma once

// The about box: title, version and description from the program's version information, and
// a button that starts the system information tool.

#include "platform/platform.h"

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace ui {
class Prompts;
}

class frmAbout : public QDialog {
    Q_OBJECT

public:
    frmAbout(platform::Platform& fs, ui::Prompts& prompts, QWidget* parent = nullptr);

    // Starts the system information tool, or tells the user that it is not available.
    void StartSysInfo();

    QPushButton* cmdOK = nullptr;
    QLabel* picIcon = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    // The etched separator: index 1 the grey line, index 0 the white one below it.
    std::array<QFrame*, 2> Line1{};

private:
    void createControls();
    void Form_Load();

    platform::Platform& m_fs;
    ui::Prompts& m_prompts;
};
