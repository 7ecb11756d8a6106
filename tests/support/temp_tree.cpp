#include "support/temp_tree.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace testsupport {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "tilgomat-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Give back write bits first so that an unprivileged run can remove everything.
    for (auto it = fs::recursive_directory_iterator(m_path, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(m_path, ec);
}

fs::path TempDir::file(const std::string& relative, const std::string& content) const {
    fs::path p = m_path / relative;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
    return p;
}

fs::path TempDir::folder(const std::string& relative) const {
    fs::path p = m_path / relative;
    fs::create_directories(p);
    return p;
}

FakeHome::FakeHome() {
    if (const char* h = std::getenv("HOME")) {
        m_hadHome = true;
        m_oldHome = h;
    }
    if (const char* c = std::getenv("XDG_CONFIG_HOME")) {
        m_hadConfig = true;
        m_oldConfig = c;
    }
    m_dir.folder("Dokumente");
    m_dir.folder(".config");
    m_dir.file(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    setenv("HOME", m_dir.str().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_dir.path() / ".config").c_str(), 1);
}

FakeHome::~FakeHome() {
    if (m_hadHome)
        setenv("HOME", m_oldHome.c_str(), 1);
    else
        unsetenv("HOME");
    if (m_hadConfig)
        setenv("XDG_CONFIG_HOME", m_oldConfig.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

} // namespace testsupport
