// A log line appended in short writes: a line torn by a failing write is taken back whole, but
// never a line another writer appended meanwhile.

#include "platform/linux/fd_io.h"
#include "support/linux_files.h"
#include "support/temp_tree.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// One write call of the log: the bytes it writes at most (fewer than asked is a short write;
// -1 fails it), and a line another writer appends right after it.
struct Call {
    ssize_t most;
    const char* otherWriter = nullptr;
};

const std::vector<Call>* calls = nullptr;
std::size_t nextCall = 0;
int otherWriter = -1;

ssize_t scriptedWrite(int fd, const void* data, std::size_t size) {
    const Call call = nextCall < calls->size() ? (*calls)[nextCall] : Call{-1};
    ++nextCall;
    ssize_t n = -1;
    errno = EIO;
    if (call.most >= 0)
        n = ::write(fd, data, std::min(size, static_cast<std::size_t>(call.most)));
    if (call.otherWriter)
        ::write(otherWriter, call.otherWriter, std::strlen(call.otherWriter));
    return n;
}

TEST(FdIo, AppendTakesBackOnlyItsOwnTornLine) {
    struct Row {
        const char* what;
        std::vector<Call> calls;
        std::string log;
        bool fails;
    };
    const Row rows[] = {
        {"short writes go on until the line is whole",
         {{3}, {3}, {100}},
         "1\r\nLogzeile\r\n",
         false},
        {"a line torn over two short writes goes whole", {{3}, {3}, {-1}}, "1\r\n", true},
        {"a line appended by another writer meanwhile stays",
         {{3, "fremd\r\n"}, {-1}},
         "1\r\nLogfremd\r\n",
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        testsupport::TempDir dir;
        const auto path = dir.file("Tilgomat.txt", "1\r\n");
        const testsupport::Fd log(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
        const testsupport::Fd other(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
        calls = &row.calls;
        nextCall = 0;
        otherWriter = other.get();
        const std::error_code error =
            platform::linux_host::appendAll(log.get(), "Logzeile\r\n", scriptedWrite);
        EXPECT_EQ(error == std::errc::io_error, row.fails) << error.message();
        EXPECT_EQ(testsupport::readBytes(path), row.log);
    }
}

} // namespace
