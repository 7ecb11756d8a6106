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

platform::Result<platform::HostFolder> FaultyPlatform::resolveFolder(std::string_view path) const {
    if (auto error = enter(Op::ResolveFolder, path))
        return error;
    return m_inner.resolveFolder(path);
}

platform::Result<std::string> FaultyPlatform::canonicalPath(std::string_view path) const {
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

std::error_code FaultyPlatform::listFolderAhead(const platform::HostFolder& folder,
                                                platform::Listing& out) const {
    if (auto error = enter(Op::ListFolder, folder.path); error || (error = listingFault(folder))) {
        out.clear();
        return error;
    }
    return m_inner.listFolderAhead(folder, out);
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

platform::Result<platform::FileId> FaultyPlatform::fileId(std::string_view path) const {
    if (auto error = enter(Op::FileId, path))
        return error;
    return m_inner.fileId(path);
}

platform::Result<std::uint32_t> FaultyPlatform::getAttributes(std::string_view path) const {
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

std::error_code FaultyPlatform::copyFile(std::string_view source, std::string_view target) {
    copies.emplace_back(source);
    if (auto error = enter(Op::CopyFile, source))
        return error;
    if (failingCopySources.contains(source))
        return injected();
    return m_inner.copyFile(source, target);
}

// A move writes the target: a source whose copy is to fail fails its move too.
std::error_code FaultyPlatform::moveFile(std::string_view source, std::string_view target) {
    moves.emplace_back(source);
    if (auto error = enter(Op::MoveFile, source))
        return error;
    if (refuseMoves)
        return std::make_error_code(std::errc::cross_device_link);
    if (failingCopySources.contains(source))
        return injected();
    return m_inner.moveFile(source, target);
}

std::error_code FaultyPlatform::createFolder(std::string_view path) {
    if (auto error = enter(Op::CreateFolder, path))
        return error;
    return m_inner.createFolder(path);
}

platform::Result<std::uint64_t> FaultyPlatform::fileLength(std::string_view path) const {
    if (auto error = enter(Op::FileLength, path))
        return error;
    return m_inner.fileLength(path);
}

std::error_code FaultyPlatform::appendToFile(std::string_view path, std::string_view bytes) {
    if (auto error = enter(Op::AppendToFile, path))
        return error;
    return m_inner.appendToFile(path, bytes);
}

platform::Result<std::string> FaultyPlatform::readFile(std::string_view path) const {
    if (auto error = enter(Op::ReadFile, path))
        return error;
    return m_inner.readFile(path);
}

std::string FaultyPlatform::documentsFolder() const {
    // A failed lookup is the empty text, as when there is no documents folder.
    if (enter(Op::DocumentsFolder, {}))
        return {};
    return documentsOverride ? *documentsOverride : m_inner.documentsFolder();
}

std::error_code FaultyPlatform::startProgram(std::string_view path) {
    started.emplace_back(path);
    if (auto error = enter(Op::StartProgram, path))
        return error;
    return realStart ? m_inner.startProgram(path) : std::error_code();
}

} // namespace testsupport
