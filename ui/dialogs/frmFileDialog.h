#pragma once

// The target folder dialog of copy and move: the user picks or creates the folder, OK runs
// the copy or move of the main window while the dialog is still open.

#include <QDialog>
#include <string>

class QCheckBox;
class QKeyEvent;
class QPushButton;

namespace ui {
class DriveListBox;
class FolderListBox;
class TargetFolderOwner;
} // namespace ui

class frmFileDialog : public QDialog {
    Q_OBJECT

public:
    // Opens at the owner's sTargetPath, or at the documents folder when that is empty; centred
    // over `parent`.
    explicit frmFileDialog(ui::TargetFolderOwner& owner, QWidget* parent = nullptr);

    // Controls, by their names, in tab order.
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    ui::DriveListBox* Drive1 = nullptr;
    ui::FolderListBox* Dir1 = nullptr;
    QPushButton* cmdNewFolder = nullptr;
    QCheckBox* chkPrefix = nullptr;

    // sTargetPath as it was when the dialog opened; cancel puts it back.
    std::string sOldTargetPath;
    // The name last typed for a new folder.
    std::string sNewFolder;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void placeOverParent();
    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void cmdNewFolder_Click();
    void OKButton_Click();
    void CancelButton_Click();

    ui::TargetFolderOwner& m_owner;
};
