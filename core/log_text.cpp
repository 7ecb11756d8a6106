#include "core/log_text.h"

#include "core/cp1252.h"

namespace core {

std::string logViewerText(std::string_view bytes) {
    constexpr std::string_view lineFeedPicture = "\u240A";
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8 + 2);
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        std::size_t end = bytes.find('\r', begin);
        if (end == std::string_view::npos)
            end = bytes.size();
        // A lone LF inside the line: the parts around it, decoded, and its picture between.
        for (std::size_t from = begin;;) {
            const std::size_t feed = bytes.substr(0, end).find('\n', from);
            if (feed == std::string_view::npos) {
                appendCp1252AsUtf8(text, bytes.substr(from, end - from));
                break;
            }
            appendCp1252AsUtf8(text, bytes.substr(from, feed - from));
            text += lineFeedPicture;
            from = feed + 1;
        }
        text += '\n';
        begin = end + 1;
        if (begin < bytes.size() && bytes[begin] == '\n')
            ++begin;
    }
    return text;
}

} // namespace core
