#include "core/log_text.h"

#include "core/cp1252.h"

namespace core {

std::string LogText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8 + 2);
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        std::size_t end = bytes.find('\r', begin);
        if (end == std::string_view::npos)
            end = bytes.size();
        AppendCp1252AsUtf8(text, bytes.substr(begin, end - begin));
        text += "\r\n";
        begin = end + 1;
        if (begin < bytes.size() && bytes[begin] == '\n')
            ++begin;
    }
    return text;
}

} // namespace core
