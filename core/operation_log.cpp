#include "core/operation_log.h"

#include "core/cp1252.h"
#include "core/date_text.h"
#include "core/modSpecialFolder.h"

namespace core {

std::string logPath(const platform::Platform& fs) {
    return modSpecialFolder::SpecialFolderPath(fs, modSpecialFolder::CSIDL_PERSONAL) +
           "\\Tilgomat.txt";
}

std::error_code OperationLog::WriteLogLine() {
    return writeLine({});
}

std::error_code OperationLog::WriteLogErrorLine() {
    return writeLine(" ->error delete");
}

std::error_code OperationLog::writeLine(std::string_view suffix) {
    std::string line = dateText(m_fs.now());
    line += ";\"";
    line += sLogItem;
    line += "\";";
    line += sLogNote;
    line += suffix;
    // The line end is added after the conversion, which turns every control character into
    // "?": a path holding CR or LF cannot split or forge a line.
    std::string bytes = utf8ToCp1252(line);
    bytes += "\r\n";
    return m_fs.appendToFile(logPath(m_fs), bytes);
}

} // namespace core
