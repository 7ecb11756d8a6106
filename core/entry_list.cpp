#include "core/entry_list.h"

#include "core/path_text.h"

namespace core {

std::uint32_t EntryList::addFolder(ListedFolder folder, std::string_view name) {
    // Whether the entries are acted on is decided by how their path text begins, that is by the
    // start folder's text or, in a list no walk made, by the top folder's.
    folder.onDrive = folder.parent != kNoFolder
                         ? m_folders[folder.parent].onDrive
                         : beginsWithDrive(start.listed.empty() ? name : start.listed);
    m_folders.push_back(folder);
    m_folderNames.push_back(name);
    return static_cast<std::uint32_t>(m_folders.size() - 1);
}

} // namespace core
