#pragma once

// The main window as the target folder dialog reaches it.

#include "ui/controls/panel_status_bar.h"
#include "ui/controls/utf8_text.h"
#include "ui/dialogs/target_folder_owner.h"
#include "ui/main/frmMain.h"

// What the target folder dialog needs of the window.
class frmMain::TargetFolder : public ui::TargetFolderOwner {
public:
    explicit TargetFolder(frmMain& w) : m_w(w) {}
    platform::Platform& platform() override { return m_w.m_fs; }
    ui::Prompts& prompts() override { return m_w.m_prompts; }
    std::string& targetPath() override { return m_w.m_shared.sTargetPath; }
    platform::FileId& targetId() override { return m_w.m_shared.targetId; }
    bool moving() const override { return m_w.m_shared.bolMove; }
    void setPrefix(bool prefix) override { m_w.m_shared.bolPrefix = prefix; }
    void showTargetFolder() override {
        m_w.StatusBar1->setPanelText(3, QStringLiteral("Zielordner: ") +
                                            ui::fromUtf8(m_w.m_shared.sTargetPath));
    }
    void CopyOrMove() override { m_w.CopyOrMove(); }

private:
    frmMain& m_w;
};
