// Host file name -> program text -> host file name is the identity, and the program text never
// holds a character that path text cannot carry (a "\" would split the name, a ":" would fool
// the file-name rule).

#include "fuzz_platform.h"

#include "platform/linux/name_mapping.h"
#include "platform/path_syntax.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view host = fuzz::bytesOf(data, size);
    // A host name holds neither NUL nor "/".
    if (host.find_first_of(std::string_view("\0/", 2)) != std::string_view::npos)
        return 0;
    const std::string program = platform::linux_host::programName(host);
    for (char c : program)
        fuzz::require(c != '\\' && !platform::isForbiddenInName(c));
    fuzz::require(platform::linux_host::hostName(program) == host);
    // The quick test may send a name to the mapping that needs none, never the other way.
    if (platform::linux_host::hostNameIsProgramText(host))
        fuzz::require(program == host);
    std::string appended = "x";
    platform::linux_host::appendProgramName(host, appended);
    fuzz::require(appended == "x" + program);
    return 0;
}
