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

class TargetFolderDialog : public QDialog {
    Q_OBJECT

public:
    // Opens at the owner's target folder, or at the documents folder when there is none yet;
    // centred over `parent`.
    explicit TargetFolderDialog(TargetFolderOwner& owner, QWidget* parent = nullptr);

    // Controls in tab order.
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    DriveListBox* driveList = nullptr;
    FolderListBox* folderList = nullptr;
    QPushButton* newFolderButton = nullptr;
    QCheckBox* prefixBox = nullptr;

    // The owner's target folder as it was when the dialog opened; cancel puts it back.
    const std::string& targetAtOpening() const { return m_targetAtOpening; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void placeOverParent();
    void openAtTarget();
    void onDriveChanged();
    void onFolderChanged();
    void createNewFolder();
    void confirm();
    void cancel();

    TargetFolderOwner& m_owner;
    std::string m_targetAtOpening;
};

} // namespace ui
