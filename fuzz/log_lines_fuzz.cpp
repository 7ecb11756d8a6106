// The log viewer's text against a reference that first cuts the bytes into lines (a line ends
// at CR or CR LF; a lone LF stays in its line, shown as U+240A) and then decodes each line.

#include "fuzz_platform.h"

#include "core/cp1252.h"
#include "core/log_text.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            current += bytes[i];
            open = true;
            continue;
        }
        lines.push_back(current);
        current.clear();
        open = false;
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
    }
    if (open)
        lines.push_back(current);
    std::string expected;
    for (const std::string& line : lines) {
        for (const char c : core::cp1252ToUtf8(line))
            expected += c == '\n' ? std::string("\u240A") : std::string(1, c);
        expected += '\n';
    }
    fuzz::require(core::logViewerText(bytes) == expected);
    return 0;
}
