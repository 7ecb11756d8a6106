#include "core/log_text.h"

#include "core/cp1252.h"

namespace core {

std::string LogText(std::string_view bytes) {
    std::string lines;
    lines.reserve(bytes.size() + 2);
    bool lineOpen = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            lines += bytes[i];
            lineOpen = true;
            continue;
        }
        lines += "\r\n";
        lineOpen = false;
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
    }
    if (lineOpen)
        lines += "\r\n";
    return Cp1252ToUtf8(lines);
}

} // namespace core
