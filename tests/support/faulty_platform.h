#pragma once

// The tests' one platform double: it passes every call to a real backend, except what a test
// chooses: a fixed clock, other drives or documents folder, operations that fail always or at
// their Nth call, copies and deletes that fail for chosen paths, attribute bits reported beside
// the real ones, a hook that runs before each call (another program acting between search and
// action), a synthetic folder listing, and program starts that are only recorded. It records the
// copies, moves, deletes, attribute writes and starts asked for.

#include "platform/platform.h"

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport {

// The operations whose calls the double counts and can fail.
enum class Op {
    ResolveFolder,
    CanonicalPath,
    FileId,
    ListFolder,
    GetAttributes,
    SetAttributes,
    DeleteFile,
    CopyFile,
    MoveFile,
    CreateFolder,
    FileLength,
    AppendToFile,
    ReadFile,
    DocumentsFolder,
    ReachListed,
    StartProgram,
};
inline constexpr std::size_t kOpCount = static_cast<std::size_t>(Op::StartProgram) + 1;

class FaultyPlatform : public platform::Platform {
public:
    explicit FaultyPlatform(platform::Platform& inner) : m_inner(inner) {}
    explicit FaultyPlatform(std::unique_ptr<platform::Platform> inner)
        : m_owned(std::move(inner)), m_inner(*m_owned) {}

    platform::Platform& inner() { return m_inner; }

    std::optional<platform::DateTime> fixedNow;
    // The drive table as another moment would report it (a stick plugged in or pulled out).
    std::optional<std::vector<platform::Drive>> drivesOverride;
    // Empty text: the user has no documents folder.
    std::optional<std::string> documentsOverride;
    std::optional<std::string> systemInformationOverride;
    // Every call of these operations fails with the error given.
    std::map<Op, std::error_code> failing;
    std::set<std::string, std::less<>> failingCopySources;
    // Every move is refused as if the target were on another file system, so that a move runs
    // as copy and delete.
    bool refuseMoves = false;
    // Attribute bits reported beside the real ones; bits a failing attribute set still applies.
    std::uint32_t extraAttributeBits = 0;
    std::uint32_t partialSetBits = 0;
    // Runs before every counted call is passed on (or failed), with the call's first path.
    std::function<void(Op, std::string_view path)> beforeCall;
    // Folders (by their last name) whose listing fails, as if they had vanished or could not be
    // read: name -> error.
    std::map<std::string, std::error_code, std::less<>> failingListings;
    // Lets the walk list folders ahead on several threads through the double (hooks are then
    // called from those threads too).
    bool listAhead = false;
    // Listed files (by their exact path text) whose number the file system is taken to have given
    // to the file made at their name since: a pass reaches them with that file's number as listed.
    std::set<std::string, std::less<>> reusedNumbers;
    // Replaces the listing of a host folder; returns false to list the real folder.
    std::function<bool(const platform::HostFolder&, platform::Listing&)> syntheticListing;

    // What was asked for, in order, whether it failed or not.
    std::vector<std::string> copies;
    std::vector<std::string> moves;
    std::vector<std::string> deletes;
    std::vector<std::string> started;
    std::vector<std::pair<std::string, std::uint32_t>> attributeWrites;

    // Makes the `nth` call (1-based, counted from now on) of `op` fail with `error`.
    void failCall(Op op, std::size_t nth,
                  std::error_code error = std::make_error_code(std::errc::io_error)) {
        m_faults[{op, m_calls[index(op)] + nth}] = error;
    }
    std::size_t calls(Op op) const { return m_calls[index(op)]; }
    // Faults chosen with failCall() whose call has not come yet.
    std::size_t pendingFaults() const { return m_faults.size(); }

    std::vector<platform::Drive> drives() override {
        return drivesOverride ? *drivesOverride : m_inner.drives();
    }
    char currentDrive() const override { return m_inner.currentDrive(); }
    std::string currentFolder(char driveLetter) const override {
        return m_inner.currentFolder(driveLetter);
    }
    platform::Result<platform::HostFolder> resolveFolder(std::string_view path) override;
    platform::Result<std::string> canonicalPath(std::string_view path) override;
    using platform::Platform::listFolder;
    std::error_code listFolder(const platform::HostFolder& folder, platform::ListDetail detail,
                               platform::Listing& out) const override;
    // The walk's listings count and fail as ListFolder, through the inner backend's walk.
    std::unique_ptr<platform::FolderWalk> beginWalk() const override;
    platform::HostFolder childFolder(const platform::HostFolder& parent,
                                     std::string_view hostName) const override {
        return m_inner.childFolder(parent, hostName);
    }
    platform::Result<platform::FileId> fileId(std::string_view path) override;
    // Counted as FileId.
    platform::Result<platform::FileId> fileIdFollowing(std::string_view path) override;
    platform::Result<std::uint32_t> getAttributes(std::string_view path) override;
    std::error_code setAttributes(std::string_view path, std::uint32_t attributes) override;
    std::error_code deleteFile(std::string_view path) override;
    // The pass's calls count, fail and record: reachListed as ReachListed, the listed file's
    // actions as DeleteFile, CopyFile and MoveFile with the path reached, the target lookups as
    // ListFolder and FileId, a log line as AppendToFile with the log's path text.
    std::unique_ptr<platform::Pass> beginPass(const platform::PassFolders& folders) override;
    std::error_code createFolder(std::string_view path) override;
    platform::Result<std::uint64_t> fileLength(std::string_view path) override;
    platform::Result<platform::DateTime> fileDateTime(std::string_view path) override {
        return m_inner.fileDateTime(path);
    }
    platform::Result<std::string> readFile(std::string_view path) override;
    std::string documentsFolder() override;
    platform::DateTime now() const override { return fixedNow ? *fixedNow : m_inner.now(); }
    std::string toUpper(std::string_view text) const override { return m_inner.toUpper(text); }
    std::string toLower(std::string_view text) const override { return m_inner.toLower(text); }
    std::error_code startProgram(std::string_view path) override;
    std::string systemInformationProgram() override {
        return systemInformationOverride ? *systemInformationOverride
                                         : m_inner.systemInformationProgram();
    }
    std::string executableName() const override { return m_inner.executableName(); }

private:
    class Listed;
    class FaultyWalk;
    class FaultyPass;

    static std::size_t index(Op op) { return static_cast<std::size_t>(op); }
    // The faults of a copy or a move of `source` beyond those of enter().
    std::error_code copyFault(std::string_view source) const;
    std::error_code moveFault(std::string_view source) const;
    // Counts the call, runs the hook and answers the error chosen for this call, if any.
    std::error_code enter(Op op, std::string_view path) const;
    // The error chosen for listing this folder, if any.
    std::error_code listingFault(const platform::HostFolder& folder) const;

    std::unique_ptr<platform::Platform> m_owned;
    platform::Platform& m_inner;
    // Calls may come from the threads that list ahead.
    mutable std::mutex m_mutex;
    mutable std::array<std::size_t, kOpCount> m_calls{};
    mutable std::map<std::pair<Op, std::size_t>, std::error_code> m_faults;
};

} // namespace testsupport
