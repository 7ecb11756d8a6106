#include "support/temp_tree.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace testsupport {

namespace fs = std::filesystem;

TempDir::TempDir() {
    // Named at random and created only when the name is free, so that parallel tests never
    // share a folder.
    std::random_device random;
    for (;;) {
        char name[40];
        std::snprintf(name, sizeof name, "tilgomat-test-%08x%08x", random(), random());
        const fs::path candidate = fs::temp_directory_path() / name;
        if (fs::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
}

TempDir::~TempDir() {
    removeTree(m_path);
}

void removeTree(const fs::path& folder) {
    std::error_code ec;
    // Give back write bits first so that an unprivileged run can remove everything; on Windows
    // that clears read-only, without which a file cannot be deleted.
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        if (!it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(folder, ec);
}

std::string TempDir::str() const {
    return utf8(m_path);
}

fs::path TempDir::file(const std::string& relative, const std::string& content) const {
    fs::path p = m_path / pathOf(relative);
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
    return p;
}

fs::path TempDir::folder(const std::string& relative) const {
    fs::path p = m_path / pathOf(relative);
    fs::create_directories(p);
    return p;
}

FakeHome::FakeHome() {
    m_dir.folder("Dokumente");
}

fs::path pathOf(std::string_view utf8Text) {
    return fs::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8Text.data()), utf8Text.size()));
}

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string genericUtf8(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(utf8(e.path().filename()));
    return names;
}

} // namespace testsupport
