#pragma once

// A delete, copy or move on the Linux host: the target folder and the log's folder opened once and
// held, the listed files' folders held from one file to the next (Pass in platform.h).

#include "platform/linux/listed_file.h"
#include "platform/linux/look_ahead.h"
#include "platform/linux/unique_fd.h"
#include "platform/platform.h"

#include <memory>
#include <string>

namespace platform::linux_host {

class LinuxPlatform;

class LinuxPass final : public Pass {
public:
    // `platform` maps the path text and outlives the pass.
    LinuxPass(LinuxPlatform& platform, const PassFolders& folders);

    std::error_code targetError() const override { return m_targetError; }
    FileId targetId() const override { return m_targetId; }
    std::error_code listTarget(Listing& out) override;
    Result<FileId> targetEntry(std::string_view name) override;
    Result<std::unique_ptr<ListedFile>> reachListed(std::string_view path,
                                                    const ListedTrail& trail) override;
    void lookAhead(std::string_view path, const ListedTrail& trail) override;
    std::error_code appendLog(std::string_view bytes) override;

private:
    void holdTarget(const PassFolders& folders);
    void holdLogFolder(const PassFolders& folders);

    LinuxPlatform& m_platform;
    const bool m_deletes; // a delete: no target folder asked for
    std::shared_ptr<PassHold> m_hold = std::make_shared<PassHold>();
    std::error_code m_targetError;
    FileId m_targetId;
    UniqueFd m_logFolder;
    std::error_code m_logError;
    std::string m_logName; // host bytes
    ReachedFolders m_reached;
    LookAhead m_ahead;
};

} // namespace platform::linux_host
