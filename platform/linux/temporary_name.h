#pragma once

#include <string>

namespace platform::linux_host {

// A name for a file of the program's own beside the user's files, hidden and unlikely to be
// taken; whoever creates or renames onto it must still refuse a name that is.
std::string temporaryName();

} // namespace platform::linux_host
