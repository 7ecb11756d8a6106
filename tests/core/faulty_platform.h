#pragma once

// A platform that passes every call to a real one, except the faults a test chooses: a fixed
// clock, copies and deletes that fail for chosen paths, a log that cannot be written, and a
// registry of the test's own.

#include "platform/platform.h"

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace coretest {

class FaultyPlatform : public platform::Platform {
public:
    explicit FaultyPlatform(platform::Platform& inner) : m_inner(inner) {}

    std::optional<platform::DateTime> fixedNow;
    std::set<std::string, std::less<>> failingCopySources;
    std::set<std::string, std::less<>> failingDeletes;
    bool failAppend = false;
    platform::Registry* registryOverride = nullptr;

    // Every copy and delete asked for, in order, whether it failed or not.
    std::vector<std::string> copies;
    std::vector<std::string> deletes;

    std::vector<platform::Drive> drives() const override { return m_inner.drives(); }
    char currentDrive() const override { return m_inner.currentDrive(); }
    std::string currentFolder(char driveLetter) const override {
        return m_inner.currentFolder(driveLetter);
    }
    platform::Result<platform::HostFolder> resolveFolder(std::string_view path) const override {
        return m_inner.resolveFolder(path);
    }
    platform::Result<std::string> canonicalPath(std::string_view path) const override {
        return m_inner.canonicalPath(path);
    }
    using platform::Platform::listFolder;
    std::error_code listFolder(const platform::HostFolder& folder, platform::ListDetail detail,
                               platform::Listing& out) const override {
        return m_inner.listFolder(folder, detail, out);
    }
    platform::HostFolder childFolder(const platform::HostFolder& parent,
                                     std::string_view hostName) const override {
        return m_inner.childFolder(parent, hostName);
    }
    platform::Result<std::uint32_t> getAttributes(std::string_view path) const override {
        return m_inner.getAttributes(path);
    }
    std::error_code setAttributes(std::string_view path, std::uint32_t attributes) override {
        return m_inner.setAttributes(path, attributes);
    }
    std::error_code deleteFile(std::string_view path) override;
    std::error_code copyFile(std::string_view source, std::string_view target) override;
    std::error_code createFolder(std::string_view path) override {
        return m_inner.createFolder(path);
    }
    platform::Result<std::uint64_t> fileLength(std::string_view path) const override {
        return m_inner.fileLength(path);
    }
    platform::Result<platform::DateTime> fileDateTime(std::string_view path) const override {
        return m_inner.fileDateTime(path);
    }
    std::error_code appendToFile(std::string_view path, std::string_view bytes) override;
    platform::Result<std::string> readFile(std::string_view path) const override {
        return m_inner.readFile(path);
    }
    std::string documentsFolder() const override { return m_inner.documentsFolder(); }
    platform::DateTime now() const override { return fixedNow ? *fixedNow : m_inner.now(); }
    std::string toUpper(std::string_view text) const override { return m_inner.toUpper(text); }
    std::string toLower(std::string_view text) const override { return m_inner.toLower(text); }
    std::error_code startProgram(std::string_view path) override {
        return m_inner.startProgram(path);
    }
    std::string executableName() const override { return m_inner.executableName(); }
    platform::Registry& registry() override {
        return registryOverride ? *registryOverride : m_inner.registry();
    }

private:
    platform::Platform& m_inner;
};

} // namespace coretest
