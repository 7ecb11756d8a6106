#include "core/target_folder.h"

#include "core/path_text.h"

#include <algorithm>

namespace core {

TargetFolder::TargetFolder(const platform::Platform& fs, std::string sTargetPath)
    : m_fs(fs), m_text(std::move(sTargetPath)) {
    auto folder = fs.resolveFolder(m_text);
    platform::Listing listing;
    if (!folder || fs.listFolder(*folder, platform::ListDetail::Kind, listing))
        return;
    m_exact = exactPathText(withTrailingBackslash(folder->text));
    for (const auto& entry : listing.entries()) {
        const std::string_view name = listing.name(entry);
        if (name == "." || name == "..")
            continue;
        auto& spellings = m_names[fs.toUpper(name)];
        if (std::find(spellings.begin(), spellings.end(), name) == spellings.end())
            spellings.emplace_back(name);
    }
}

std::string TargetFolder::path(std::string_view name) const {
    if (m_exact.empty())
        return m_text + "\\" + std::string(name);
    const auto found = m_names.find(m_fs.toUpper(name));
    if (found == m_names.end() ||
        std::find(found->second.begin(), found->second.end(), name) != found->second.end())
        return m_exact + std::string(name);
    // A name of another case that has gone since the folder was listed no longer stands in
    // the way: the copy then takes the name as asked, as it would have from the start.
    std::string existing = m_exact + found->second.front();
    if (m_fs.fileId(existing).error() == std::errc::no_such_file_or_directory)
        return m_exact + std::string(name);
    return existing;
}

void TargetFolder::wrote(std::string_view name) {
    // Where the name stood in any case, path() led the write there.
    auto& spellings = m_names[m_fs.toUpper(name)];
    if (spellings.empty())
        spellings.emplace_back(name);
}

} // namespace core
