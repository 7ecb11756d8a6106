#pragma once

// The main window as the target folder dialog reaches it.

#include "ui/controls/panel_status_bar.h"
#include "ui/controls/utf8_text.h"
#include "ui/dialogs/target_folder_owner.h"
#include "ui/main/main_window.h"

namespace ui {

// What the target folder dialog needs of the window.
class MainWindow::TargetFolder : public TargetFolderOwner {
public:
    explicit TargetFolder(MainWindow& w) : m_w(w) {}
    platform::Platform& platform() override { return m_w.m_fs; }
    Prompts& prompts() override { return m_w.m_prompts; }
    std::string& targetPath() override { return m_w.m_shared.targetFolder; }
    platform::FileId& targetId() override { return m_w.m_shared.targetId; }
    bool moving() const override { return m_w.m_shared.move; }
    void setPrefix(bool prefix) override { m_w.m_shared.prefix = prefix; }
    void showTargetFolder() override {
        m_w.m_statusBar->setPanelText(3, QStringLiteral("Zielordner: ") +
                                             fromUtf8(m_w.m_shared.targetFolder));
    }
    void copyOrMove() override { m_w.copyOrMove(); }

private:
    MainWindow& m_w;
};

} // namespace ui
