#include "core/operation_log.h"

#include "core/cp1252.h"
#include "core/date_text.h"

namespace core {

namespace {

constexpr std::string_view kLogName = "Tilgomat.txt";

// The folder the log goes into: the documents folder, else the current drive's root.
std::string logFolder(platform::Platform& fs) {
    std::string folder = fs.documentsFolder();
    return folder.empty() ? std::string("\\") : folder;
}

} // namespace

std::string logPath(platform::Platform& fs) {
    return fs.documentsFolder() + "\\" + std::string(kLogName);
}

OperationLog::OperationLog(platform::Platform& fs) : m_fs(fs), m_folder(logFolder(fs)) {
    m_folderId = fs.fileIdFollowing(m_folder).valueOr(platform::FileId{});
}

platform::PassFolders OperationLog::passFolders(std::string target,
                                                platform::FileId targetId) const {
    platform::PassFolders folders;
    folders.target = std::move(target);
    folders.targetId = targetId;
    folders.logFolder = logFolder(m_fs);
    // A folder found under another name since is taken as it is found now.
    if (folders.logFolder == m_folder)
        folders.logFolderId = m_folderId;
    folders.logName = kLogName;
    return folders;
}

std::error_code OperationLog::writeLine() {
    return write({});
}

std::error_code OperationLog::writeErrorLine() {
    return write(" ->error delete");
}

std::error_code OperationLog::write(std::string_view suffix) {
    std::string line = dateText(m_fs.now());
    line += ";\"";
    line += item;
    line += "\";";
    line += note;
    line += suffix;
    // The line end is added after the conversion, which turns every control character into
    // "?": a path holding CR or LF cannot split or forge a line.
    std::string bytes = utf8ToCp1252(line);
    bytes += "\r\n";
    if (m_pass)
        return m_pass->appendLog(bytes);
    return m_fs.beginPass(passFolders())->appendLog(bytes);
}

} // namespace core
