#pragma once

// The log viewer: shows the operation log and deletes it on request.

#include "platform/platform.h"

#include <QDialog>
#include <string>

class QPushButton;

namespace ui {

class LogTextBox;
class Prompts;

class LogViewer : public QDialog {
    Q_OBJECT

public:
    LogViewer(platform::Platform& fs, Prompts& prompts, QWidget* parent = nullptr);

    LogTextBox* textBox = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* okButton = nullptr;

protected:
    // Enter presses the focused button only: the viewer has no default button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void showLog();
    // Appends the whole log file to the text box.
    void appendLog();
    void deleteLog();

    platform::Platform& m_fs;
    Prompts& m_prompts;
    // The log path as built at load; the delete command acts on this one.
    std::string m_logPath;
};

} // namespace ui
