#pragma once

// Runs a piece of a test that must not hang (a FIFO opened for reading would block forever):
// past the limit the test program ends with a message instead of waiting for CI's timeout.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

namespace coretest {

template <class Work> void withinSeconds(int seconds, Work work) {
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready) {
        std::fprintf(stderr, "still running after %d s: a special file was opened\n", seconds);
        std::_Exit(2);
    }
    done.get();
}

} // namespace coretest
