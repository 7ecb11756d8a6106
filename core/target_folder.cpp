#include "core/target_folder.h"

#include <algorithm>

namespace core {

TargetFolder::TargetFolder(platform::Platform& fs, platform::Pass& pass)
    : m_fs(fs), m_pass(pass) {
    platform::Listing listing;
    if (pass.listTarget(listing))
        return;
    for (const auto& entry : listing.entries()) {
        const std::string_view name = listing.name(entry);
        if (name == "." || name == "..")
            continue;
        auto& spellings = m_names[fs.toUpper(name)];
        if (std::find(spellings.begin(), spellings.end(), name) == spellings.end())
            spellings.emplace_back(name);
    }
}

std::string TargetFolder::nameFor(std::string_view name) const {
    const auto found = m_names.find(m_fs.toUpper(name));
    if (found == m_names.end() ||
        std::find(found->second.begin(), found->second.end(), name) != found->second.end())
        return std::string(name);
    // A name of another case that has gone since the folder was listed no longer stands in
    // the way: the copy then takes the name as asked, as it would have from the start.
    const std::string& existing = found->second.front();
    if (m_pass.targetEntry(existing).error() == std::errc::no_such_file_or_directory)
        return std::string(name);
    return existing;
}

void TargetFolder::wrote(std::string_view name) {
    // Where the name stood in any case, nameFor() led the write there.
    auto& spellings = m_names[m_fs.toUpper(name)];
    if (spellings.empty())
        spellings.emplace_back(name);
}

} // namespace core
