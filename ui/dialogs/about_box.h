#pragma once

// The about box: title, version and description from the program's version information, and
// a button that starts the system information tool.

#include "platform/platform.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace ui {

class Prompts;

class AboutBox : public QDialog {
    Q_OBJECT

public:
    AboutBox(platform::Platform& fs, Prompts& prompts, QWidget* parent = nullptr);

    // Starts the system information tool, or tells the user that it is not available.
    void startSystemInformation();

    QPushButton* okButton = nullptr;
    QLabel* iconLabel = nullptr;
    QPushButton* systemInfoButton = nullptr;
    QLabel* description = nullptr;
    QLabel* disclaimer = nullptr;
    QLabel* title = nullptr;
    QLabel* version = nullptr;

private:
    void createControls();
    void showVersionInformation();

    platform::Platform& m_fs;
    Prompts& m_prompts;
};

} // namespace ui
