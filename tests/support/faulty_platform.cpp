#include "support/faulty_platform.h"

namespace testsupport {

namespace {

std::error_code injected() {
    return std::make_error_code(std::errc::io_error);
}

} // namespace

std::error_code FaultyPlatform::enter(Op op, std::string_view path) const {
    std::unique_lock lock(m_mutex);
    const std::size_t call = ++m_calls[index(op)];
    lock.unlock();
    if (beforeCall)
        beforeCall(op, path);
    lock.lock();
    auto fault = m_faults.find({op, call});
    if (fault != m_faults.end()) {
        const std::error_code error = fault->second;
        m_faults.erase(fault);
        return error;
    }
    auto always = failing.find(op);
    return always == failing.end() ? std::error_code() : always->second;
}

platform::Result<platform::HostFolder> FaultyPlatform::resolveFolder(std::string_view path) {
    if (auto error = enter(Op::ResolveFolder, path))
        return error;
    return m_inner.resolveFolder(path);
}

platform::Result<std::string> FaultyPlatform::canonicalPath(std::string_view path) {
    if (auto error = enter(Op::CanonicalPath, path))
        return error;
    return m_inner.canonicalPath(path);
}

std::error_code FaultyPlatform::listingFault(const platform::HostFolder& folder) const {
    const std::size_t cut = folder.path.find_last_of("/\\");
    const std::string_view name =
        std::string_view(folder.path).substr(cut == std::string::npos ? 0 : cut + 1);
    const auto found = failingListings.find(name);
    return found == failingListings.end() ? std::error_code() : found->second;
}

class FaultyPlatform::FaultyWalk final : public platform::FolderWalk {
public:
    explicit FaultyWalk(const FaultyPlatform& fs) : m_fs(fs), m_inner(fs.m_inner.beginWalk()) {}
    bool listsAhead() const override { return m_fs.listAhead && m_inner->listsAhead(); }
    std::error_code list(const platform::HostFolder& folder, platform::Listing& out) override {
        if (auto error = m_fs.enter(Op::ListFolder, folder.path);
            error || (error = m_fs.listingFault(folder))) {
            out.clear();
            return error;
        }
        if (m_fs.syntheticListing && m_fs.syntheticListing(folder, out))
            return {};
        return m_inner->list(folder, out);
    }

private:
    const FaultyPlatform& m_fs;
    std::unique_ptr<platform::FolderWalk> m_inner;
};

std::unique_ptr<platform::FolderWalk> FaultyPlatform::beginWalk() const {
    return std::make_unique<FaultyWalk>(*this);
}

std::error_code FaultyPlatform::listFolder(const platform::HostFolder& folder,
                                           platform::ListDetail detail,
                                           platform::Listing& out) const {
    if (auto error = enter(Op::ListFolder, folder.path); error || (error = listingFault(folder))) {
        out.clear();
        return error;
    }
    if (syntheticListing && syntheticListing(folder, out))
        return {};
    return m_inner.listFolder(folder, detail, out);
}

platform::Result<platform::FileId> FaultyPlatform::fileId(std::string_view path) {
    if (auto error = enter(Op::FileId, path))
        return error;
    return m_inner.fileId(path);
}

platform::Result<platform::FileId> FaultyPlatform::fileIdFollowing(std::string_view path) {
    if (auto error = enter(Op::FileId, path))
        return error;
    return m_inner.fileIdFollowing(path);
}

class FaultyPlatform::Listed : public platform::ListedFile {
public:
    Listed(FaultyPlatform& fs, std::string path, std::unique_ptr<platform::ListedFile> inner)
        : m_fs(fs), m_path(std::move(path)), m_inner(std::move(inner)) {}

    std::error_code check() override { return m_inner->check(); }
    std::error_code remove() override {
        m_fs.deletes.push_back(m_path);
        if (auto error = m_fs.enter(Op::DeleteFile, m_path))
            return error;
        return m_inner->remove();
    }
    std::error_code copyTo(std::string_view target) override {
        m_fs.copies.push_back(m_path);
        if (auto error = m_fs.enter(Op::CopyFile, m_path);
            error || (error = m_fs.copyFault(m_path)))
            return error;
        return m_inner->copyTo(target);
    }
    std::error_code moveTo(std::string_view target) override {
        m_fs.moves.push_back(m_path);
        if (auto error = m_fs.enter(Op::MoveFile, m_path))
            return error;
        // The backend looks at the file before it tries the rename that is refused here.
        if (auto error = m_fs.moveFault(m_path)) {
            const std::error_code changed = m_inner->check();
            return changed ? changed : error;
        }
        return m_inner->moveTo(target);
    }

private:
    FaultyPlatform& m_fs;
    std::string m_path;
    std::unique_ptr<platform::ListedFile> m_inner;
};

class FaultyPlatform::FaultyPass : public platform::Pass {
public:
    FaultyPass(FaultyPlatform& fs, const platform::PassFolders& folders,
               std::unique_ptr<platform::Pass> inner)
        : m_fs(fs), m_target(folders.target), m_log(folders.logFolder + "\\" + folders.logName),
          m_inner(std::move(inner)) {}

    std::error_code targetError() const override { return m_inner->targetError(); }
    platform::FileId targetId() const override { return m_inner->targetId(); }
    std::error_code listTarget(platform::Listing& out) override {
        if (auto error = m_fs.enter(Op::ListFolder, m_target)) {
            out.clear();
            return error;
        }
        return m_inner->listTarget(out);
    }
    platform::Result<platform::FileId> targetEntry(std::string_view name) override {
        if (auto error = m_fs.enter(Op::FileId, m_target + "\\" + std::string(name)))
            return error;
        return m_inner->targetEntry(name);
    }
    platform::Result<std::unique_ptr<platform::ListedFile>>
    reachListed(std::string_view path, const platform::ListedTrail& trail) override {
        if (auto error = m_fs.enter(Op::ReachListed, path))
            return error;
        platform::ListedTrail reached = trail;
        if (m_fs.reusedNumbers.contains(path))
            reached.file = m_fs.m_inner.fileId(path).valueOr(platform::FileId{}).inode;
        auto inner = m_inner->reachListed(path, reached);
        if (!inner)
            return inner.error();
        return std::unique_ptr<platform::ListedFile>(
            std::make_unique<Listed>(m_fs, std::string(path), std::move(inner).value()));
    }
    void lookAhead(std::string_view path, const platform::ListedTrail& trail) override {
        m_inner->lookAhead(path, trail);
    }
    std::error_code appendLog(std::string_view bytes) override {
        if (auto error = m_fs.enter(Op::AppendToFile, m_log))
            return error;
        return m_inner->appendLog(bytes);
    }

private:
    FaultyPlatform& m_fs;
    std::string m_target;
    std::string m_log;
    std::unique_ptr<platform::Pass> m_inner;
};

std::unique_ptr<platform::Pass> FaultyPlatform::beginPass(const platform::PassFolders& folders) {
    return std::make_unique<FaultyPass>(*this, folders, m_inner.beginPass(folders));
}

std::error_code FaultyPlatform::copyFault(std::string_view source) const {
    return failingCopySources.contains(source) ? injected() : std::error_code();
}

// A move writes the target: a source whose copy is to fail fails its move too.
std::error_code FaultyPlatform::moveFault(std::string_view source) const {
    if (refuseMoves)
        return std::make_error_code(std::errc::cross_device_link);
    return copyFault(source);
}

platform::Result<std::uint32_t> FaultyPlatform::getAttributes(std::string_view path) {
    if (auto error = enter(Op::GetAttributes, path))
        return error;
    auto bits = m_inner.getAttributes(path);
    if (!bits)
        return bits;
    return *bits | extraAttributeBits;
}

std::error_code FaultyPlatform::setAttributes(std::string_view path, std::uint32_t attributes) {
    attributeWrites.emplace_back(path, attributes);
    if (auto error = enter(Op::SetAttributes, path)) {
        if (partialSetBits)
            m_inner.setAttributes(path, attributes & partialSetBits);
        return error;
    }
    return m_inner.setAttributes(path, attributes);
}

std::error_code FaultyPlatform::deleteFile(std::string_view path) {
    deletes.emplace_back(path);
    if (auto error = enter(Op::DeleteFile, path))
        return error;
    return m_inner.deleteFile(path);
}

std::error_code FaultyPlatform::createFolder(std::string_view path) {
    if (auto error = enter(Op::CreateFolder, path))
        return error;
    return m_inner.createFolder(path);
}

platform::Result<std::uint64_t> FaultyPlatform::fileLength(std::string_view path) {
    if (auto error = enter(Op::FileLength, path))
        return error;
    return m_inner.fileLength(path);
}

platform::Result<std::string> FaultyPlatform::readFile(std::string_view path) {
    if (auto error = enter(Op::ReadFile, path))
        return error;
    return m_inner.readFile(path);
}

std::string FaultyPlatform::documentsFolder() {
    // A failed lookup is the empty text, as when there is no documents folder.
    if (enter(Op::DocumentsFolder, {}))
        return {};
    return documentsOverride ? *documentsOverride : m_inner.documentsFolder();
}

std::error_code FaultyPlatform::startProgram(std::string_view path) {
    started.emplace_back(path);
    return enter(Op::StartProgram, path);
}

} // namespace testsupport
