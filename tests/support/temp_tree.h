#pragma once

// Temporary folders and files for tests.

#include "platform/platform.h"

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// A path from UTF-8 text and back, the same on every host (a narrow string is the code page's
// text on Windows).
std::filesystem::path pathOf(std::string_view utf8Text);
std::string utf8(const std::filesystem::path& path);
// The same with "/" between the names on every host.
std::string genericUtf8(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder as UTF-8 text.
    std::string str() const;
    // Creates a file (and its folders) relative to this folder with the given content.
    std::filesystem::path file(const std::string& relative, const std::string& content = {}) const;
    std::filesystem::path folder(const std::string& relative) const;

private:
    std::filesystem::path m_path;
};

// A home folder of the test's own with its documents folder <home>/Dokumente. A backend is
// given that folder (createPlatformOver's documents folder), so nothing touches the real home.
class FakeHome {
public:
    FakeHome();

    const std::filesystem::path& home() const { return m_dir.path(); }
    std::filesystem::path documents() const { return m_dir.path() / "Dokumente"; }
    std::string documentsText() const { return utf8(documents()); }

private:
    TempDir m_dir;
};

// Removes a folder and everything in it, read-only files included (Windows keeps them).
void removeTree(const std::filesystem::path& folder);

// The names of the entries of a folder.
std::set<std::string> namesIn(const std::filesystem::path& folder);

// Reads a whole file as bytes; empty when it cannot be read.
std::string readBytes(const std::filesystem::path& file);

} // namespace testsupport
