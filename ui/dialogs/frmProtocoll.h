#pragma once

// The log viewer: shows the operation log and deletes it on request.

#include "platform/platform.h"

#include <QDialog>
#include <string>

class QPushButton;

namespace ui {
class LogTextBox;
class Prompts;
} // namespace ui

class frmProtocoll : public QDialog {
    Q_OBJECT

public:
    frmProtocoll(platform::Platform& fs, ui::Prompts& prompts, QWidget* parent = nullptr);

    // Appends the whole log file to the text box.
    void openProtocoll();

    ui::LogTextBox* txtText = nullptr;
    QPushButton* cmdDelProt = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    // Enter presses the focused button only: the viewer has no default button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void Form_Load();
    void cmdDelProt_Click();

    platform::Platform& m_fs;
    ui::Prompts& m_prompts;
    // The log path as built at load; the delete command acts on this one.
    std::string m_logPath;
};
