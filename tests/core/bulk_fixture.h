#pragma once

// A documents folder on drive C: (a fake home) and a data tree on drive D:, with a fixed clock
// so that log lines can be compared byte for byte.

#include "support/entry_texts.h"
#include "support/faulty_platform.h"
#include "test_window.h"

#include "core/operation_log.h"
#include "platform/platform.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace coretest {

// The drives and the log every pass test starts from.
struct PassDrives {
    PassDrives() { fs.fixedNow = platform::DateTime{2024, 5, 17, 14, 3, 9}; }

    // One log line for the fixed clock; item and note are ASCII.
    static std::string line(std::string_view item, std::string_view note) {
        return "17.05.2024 14:03:09;\"" + std::string(item) + "\";" + std::string(note) + "\r\n";
    }
    std::filesystem::path logFile() const { return home.documents() / "Tilgomat.txt"; }
    std::string logBytes() const { return testsupport::readBytes(logFile()); }

    testsupport::FakeHome home;
    testsupport::TempDir data;
    std::unique_ptr<platform::Platform> host = platform::createPlatformOver(
        {{'c', testsupport::utf8(home.home()), {}}, {'d', data.str(), {}}}, data.str(),
        home.documentsText());
    testsupport::FaultyPlatform fs{*host};
    core::OperationLog log{fs};
};

class BulkFixture : public ::testing::Test, public PassDrives {
protected:
    bool exists(const std::string& relative) const {
        return std::filesystem::exists(data.path() / relative);
    }
    std::string content(const std::string& relative) const {
        return testsupport::readBytes(data.path() / relative);
    }
    std::string entries(const core::BulkWindow& window) const {
        std::string text;
        for (const std::string& entry : testsupport::entryTexts(window.resultList()))
            text += entry + "|";
        return text;
    }
};

} // namespace coretest
