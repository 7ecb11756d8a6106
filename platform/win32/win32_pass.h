#pragma once

// A delete, copy or move on Windows: the target folder and the log's folder opened once and held
// without delete sharing, so that neither can be renamed or removed while the pass runs (Pass in
// platform.h).

#include "platform/platform.h"
#include "platform/win32/handle.h"

#include <string>

namespace platform::win32 {

class Win32Platform;

class Win32Pass final : public Pass {
public:
    // `platform` maps the path text and outlives the pass.
    Win32Pass(const Win32Platform& platform, const PassFolders& folders);

    std::error_code targetError() const override { return m_targetError; }
    FileId targetId() const override { return m_targetId; }
    std::error_code listTarget(Listing& out) override;
    Result<FileId> targetEntry(std::string_view name) override;
    Result<std::unique_ptr<ListedFile>> reachListed(std::string_view path,
                                                    const ListedTrail& trail) override;
    std::error_code appendLog(std::string_view bytes) override;

private:
    const Win32Platform& m_platform;
    Handle m_target{nullptr};
    std::wstring m_targetHost; // empty while no target folder is held
    std::error_code m_targetError;
    FileId m_targetId;
    Handle m_logFolder{nullptr};
    std::wstring m_log; // the log's host path; empty while its folder is not held
    std::error_code m_logError;
};

} // namespace platform::win32
