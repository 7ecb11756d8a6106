#pragma once

// A platform for the dialog tests: passes everything to a real backend, except that chosen
// operations can be made to fail, extra attribute bits can be reported, program starts are
// recorded, and the registry can be replaced.

#include "platform/platform.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace testsupport {

// Registry values by "key\value name"; every other lookup fails like a missing key.
class FakeRegistry : public platform::Registry {
public:
    struct Value {
        std::uint32_t type = REG_SZ;
        std::string data; // with the terminating zero byte for text values
    };
    std::map<std::string, Value> values;

    std::error_code openKey(std::uint32_t, std::string_view keyName, std::uint32_t,
                            Key& key) override {
        const std::string prefix = std::string(keyName) + '\\';
        for (const auto& entry : values) {
            if (entry.first.starts_with(prefix)) {
                m_open.push_back(std::string(keyName));
                key = m_open.size();
                return {};
            }
        }
        return std::make_error_code(std::errc::no_such_file_or_directory);
    }
    std::error_code queryValue(Key key, std::string_view valueName, std::uint32_t& type,
                               char* buffer, std::uint32_t& size) override {
        const auto it = values.find(m_open.at(key - 1) + '\\' + std::string(valueName));
        if (it == values.end())
            return std::make_error_code(std::errc::no_such_file_or_directory);
        if (it->second.data.size() > size)
            return std::make_error_code(std::errc::value_too_large);
        type = it->second.type;
        size = static_cast<std::uint32_t>(it->second.data.size());
        it->second.data.copy(buffer, size);
        return {};
    }
    void closeKey(Key) override {}

private:
    std::vector<std::string> m_open;
};

class DialogTestPlatform : public platform::Platform {
public:
    explicit DialogTestPlatform(std::unique_ptr<platform::Platform> inner)
        : m_inner(std::move(inner)) {}

    platform::Platform& inner() { return *m_inner; }

    std::uint32_t extraAttributeBits = 0;
    std::error_code setAttributesError;
    // Attribute bits a failing set still applies before it fails.
    std::uint32_t partialSetBits = 0;
    std::error_code deleteError;
    std::error_code startError;
    // Program starts go to the real backend instead of being recorded.
    bool realStart = false;
    std::vector<std::string> started;
    std::vector<std::pair<std::string, std::uint32_t>> attributeWrites;
    FakeRegistry fakeRegistry;

    std::vector<platform::Drive> drives() const override { return m_inner->drives(); }
    char currentDrive() const override { return m_inner->currentDrive(); }
    std::string currentFolder(char d) const override { return m_inner->currentFolder(d); }
    platform::Result<platform::HostFolder> resolveFolder(std::string_view p) const override {
        return m_inner->resolveFolder(p);
    }
    platform::Result<std::string> canonicalPath(std::string_view p) const override {
        return m_inner->canonicalPath(p);
    }
    using platform::Platform::listFolder;
    std::error_code listFolder(const platform::HostFolder& f, platform::ListDetail d,
                               platform::Listing& out) const override {
        return m_inner->listFolder(f, d, out);
    }
    platform::HostFolder childFolder(const platform::HostFolder& parent,
                                     std::string_view hostName) const override {
        return m_inner->childFolder(parent, hostName);
    }
    platform::Result<platform::FileId> fileId(std::string_view p) const override {
        return m_inner->fileId(p);
    }
    platform::Result<std::uint32_t> getAttributes(std::string_view p) const override {
        auto a = m_inner->getAttributes(p);
        if (!a)
            return a;
        return *a | extraAttributeBits;
    }
    std::error_code setAttributes(std::string_view p, std::uint32_t a) override {
        attributeWrites.emplace_back(p, a);
        if (setAttributesError) {
            if (partialSetBits)
                m_inner->setAttributes(p, a & partialSetBits);
            return setAttributesError;
        }
        return m_inner->setAttributes(p, a);
    }
    std::error_code deleteFile(std::string_view p) override {
        if (deleteError)
            return deleteError;
        return m_inner->deleteFile(p);
    }
    std::error_code copyFile(std::string_view s, std::string_view t) override {
        return m_inner->copyFile(s, t);
    }
    std::error_code createFolder(std::string_view p) override { return m_inner->createFolder(p); }
    platform::Result<std::uint64_t> fileLength(std::string_view p) const override {
        return m_inner->fileLength(p);
    }
    platform::Result<platform::DateTime> fileDateTime(std::string_view p) const override {
        return m_inner->fileDateTime(p);
    }
    std::error_code appendToFile(std::string_view p, std::string_view b) override {
        return m_inner->appendToFile(p, b);
    }
    platform::Result<std::string> readFile(std::string_view p) const override {
        return m_inner->readFile(p);
    }
    std::string documentsFolder() const override { return m_inner->documentsFolder(); }
    platform::DateTime now() const override { return m_inner->now(); }
    std::string toUpper(std::string_view t) const override { return m_inner->toUpper(t); }
    std::string toLower(std::string_view t) const override { return m_inner->toLower(t); }
    std::error_code startProgram(std::string_view p) override {
        if (realStart)
            return m_inner->startProgram(p);
        started.emplace_back(p);
        return startError;
    }
    std::string executableName() const override { return m_inner->executableName(); }
    platform::Registry& registry() override { return fakeRegistry; }

private:
    std::unique_ptr<platform::Platform> m_inner;
};

} // namespace testsupport
