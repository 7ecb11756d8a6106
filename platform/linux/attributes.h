#pragma once

// Windows attributes of host files. Read-only is the absence of every write bit or the read-only
// bit in user.DOSATTRIB; hidden, system and archive live there too, and without it a regular file
// has archive and a name starting with "." is hidden. Directory comes from the file type.

#include "platform/linux/host_access.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::linux_host {

inline constexpr std::uint32_t kStoredBits = 0x02 | 0x04 | 0x20; // Hidden, System, Archive

// Hidden and archive as they follow from type and name when nothing is stored. `name` is
// empty for "." and "..", which take no hidden bit from their name.
std::uint32_t defaultStoredBits(const struct stat& st, std::string_view name);

// Whether a file counts as read-only, the rule every refusal of the backend follows: it has no
// write bit at all, or its stored value holds the read-only bit (a Samba server keeps a Windows
// client's flag there alone and leaves the mode as it was). `st` is the file's stat with a link
// followed, `stored` its parsed user.DOSATTRIB.
bool isReadOnly(const struct stat& st, std::optional<std::uint32_t> stored);
// The same, reading the stored value of `path` (links followed) where the mode does not decide.
bool isReadOnly(const struct stat& st, const std::string& path);

// All attribute bits of an entry, from its stat, its name and the value stored in its
// user.DOSATTRIB (if any could be read and parsed).
std::uint32_t attributesFrom(const struct stat& st, std::string_view name,
                             std::optional<std::uint32_t> stored);

// The raw user.DOSATTRIB value of a path (links followed); nothing when there is none or it
// cannot be read.
std::optional<std::string> readDosAttribValue(const std::string& path);

// The parsed user.DOSATTRIB number of a path.
std::optional<std::uint32_t> readStoredBits(const std::string& path);

// stat() of an entry following a link, or of the link itself when it leads nowhere.
std::error_code statEntry(const HostEntry& entry, struct stat& st);

Result<std::uint32_t> readAttributes(const HostEntry& entry);

// Sets read-only, hidden, system and archive of an entry as given in `attributes`, through the
// file itself once it is opened. A link is followed only to a file of the link's own owner, so
// that no one's link leads the program to change another's file (permission_denied). `umask` is
// the process's file creation mask, which decides the write bits given back.
std::error_code writeAttributes(const HostEntry& entry, std::uint32_t attributes, mode_t umask);

} // namespace platform::linux_host
