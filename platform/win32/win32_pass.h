#pragma once

// A delete, copy or move on Windows (Pass in platform.h): the target folder and the log's folder
// opened once and held without delete sharing, so that neither can be renamed or removed while
// the pass runs, and the folders of the listed file reached last held from one file to the next.
// Everything the pass writes is opened, renamed or removed inside these held folders.

#include "platform/platform.h"
#include "platform/win32/handle.h"
#include "platform/win32/reached_folders.h"

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
    bool m_targetIsRoot = false; // a drive root, which lists no "." and ".."
    std::error_code m_targetError;
    FileId m_targetId;
    Handle m_logFolder{nullptr};
    std::wstring m_logName;
    std::error_code m_logError;
    ReachedFolders m_reached;
};

} // namespace platform::win32
