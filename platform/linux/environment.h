#pragma once

// What the backend learns from the process and the user's environment.

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::linux_host {

// The XDG_DOCUMENTS_DIR of a user-dirs.dirs file. The log writer asks for every line, so the
// file is stated each time and read and parsed again only when it is another file or its size
// or times have changed since: the answer is always that of the file as it is now.
class UserDirsReader {
public:
    std::string documentsDir(const std::string& file, const std::string& home);

private:
    struct Seen {
        std::string file, home;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        struct timespec modified {};
        struct timespec changed {};
        std::string documents;
    };
    std::optional<Seen> m_seen;
};

// The user's documents folder as a host path: XDG_DOCUMENTS_DIR from user-dirs.dirs in
// $XDG_CONFIG_HOME (default ~/.config) when that folder exists, otherwise the home folder
// ($HOME, else the password database). Empty when there is no home folder. Worked out anew on
// each call.
std::string documentsHostFolder(UserDirsReader& userDirs);

// The XDG_DOCUMENTS_DIR value of a user-dirs.dirs text with $HOME expanded; empty when the
// text sets none or sets a relative one.
std::string parseDocumentsDir(std::string_view userDirs, std::string_view home);

// The running executable's file name without folder and extension.
std::string executableBaseName();

// Starts a program file without a shell and without waiting for it; it is reaped when it ends,
// so finished programs never linger as zombies.
std::error_code spawnDetached(const std::string& program);

// The first of the desktop's system information programs (hardinfo2, hardinfo, kinfocenter)
// that is an executable file in a folder of PATH, as a host path; empty when there is none. An
// empty element of PATH would be the working folder and is never searched.
std::string desktopSystemInformationProgram();

// The process's file creation mask, read without changing it where the system allows.
mode_t currentUmask();

} // namespace platform::linux_host
