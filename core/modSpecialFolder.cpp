#include "core/modSpecialFolder.h"

namespace modSpecialFolder {

std::string SpecialFolderPath(platform::Platform& fs, std::int32_t folderId) {
    return folderId == CSIDL_PERSONAL ? fs.documentsFolder() : std::string();
}

} // namespace modSpecialFolder
