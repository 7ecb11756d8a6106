#pragma once

// Temporary folders and files for tests.

#include "platform/platform.h"

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string str() const { return m_path.string(); }
    // Creates a file (and its folders) relative to this folder with the given content.
    std::filesystem::path file(const std::string& relative, const std::string& content = {}) const;
    std::filesystem::path folder(const std::string& relative) const;

private:
    std::filesystem::path m_path;
};

// Points HOME and XDG_CONFIG_HOME at a temporary folder for the lifetime of the object, so
// that the documents folder is <home>/Dokumente (created) and nothing touches the real home.
class FakeHome {
public:
    FakeHome();
    ~FakeHome();
    FakeHome(const FakeHome&) = delete;
    FakeHome& operator=(const FakeHome&) = delete;

    const std::filesystem::path& home() const { return m_dir.path(); }
    std::filesystem::path documents() const { return m_dir.path() / "Dokumente"; }

private:
    TempDir m_dir;
    std::string m_oldHome, m_oldConfig;
    bool m_hadHome = false, m_hadConfig = false;
};

// The names of the entries of a folder.
std::set<std::string> namesIn(const std::filesystem::path& folder);

// Reads a whole file as bytes; empty when it cannot be read.
std::string readBytes(const std::filesystem::path& file);

} // namespace testsupport
