// Names that differ only in case can stand side by side on a POSIX file system: path text finds
// the exact name first, else the first variant in listing order.

#include "support/drive_fixture.h"
#include "support/result_value.h"

#include <gtest/gtest.h>

namespace {

using testsupport::TwoDrives;
using testsupport::valueOf;

TEST(PathText, CaseInsensitiveLookupPrefersExactThenListingOrder) {
    TwoDrives t;
    t.c.file("Abc/eins");
    t.c.file("ABC/zwei");
    // The exact name wins over every case variant.
    EXPECT_EQ(valueOf(t.fs->canonicalPath("C:\\ABC\\zwei")), "C:\\ABC\\zwei");
    EXPECT_EQ(valueOf(t.fs->canonicalPath("C:\\Abc\\eins")), "C:\\Abc\\eins");
    // Without an exact name the first case variant in listing order wins.
    platform::Listing listing;
    ASSERT_FALSE(t.fs->listFolder("C:\\", platform::ListDetail::Kind, listing));
    std::string first;
    for (const auto& e : listing.entries())
        if (first.empty() && (listing.name(e) == "Abc" || listing.name(e) == "ABC"))
            first = listing.name(e);
    EXPECT_EQ(valueOf(t.fs->canonicalPath("c:\\abc")), "C:\\" + first);
}

} // namespace
