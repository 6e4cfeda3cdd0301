#include <gtest/gtest.h>

#include "flight/filepath.h"

namespace lumo {
namespace {

TEST(FilePath, NamesFollowTheRawFile)
{
    EXPECT_EQ(replaceExtension("/data/flight.raw", ".o3csv"), "/data/flight.o3csv");
    EXPECT_EQ(replaceExtension("/data/flight", ".cfg"), "/data/flight.cfg");
    EXPECT_EQ(replaceExtension("/data.v2/flight", ".wcsv"), "/data.v2/flight.wcsv");
    EXPECT_EQ(replaceExtension("C:\\data.v2\\flight.1.raw", ".csv"), "C:\\data.v2\\flight.1.csv");
    EXPECT_EQ(replaceExtension("/d.x/flight", ".cfg"), "/d.x/flight.cfg");
    EXPECT_EQ(replaceExtension("/d/f.1.raw", ".cfg"), "/d/f.1.cfg");
}

TEST(FilePath, NameAndBaseNameAfterEitherSeparator)
{
    EXPECT_EQ(fileNamePart("/data/x/F0612.raw"), "F0612.raw");
    EXPECT_EQ(baseNamePart("C:\\data\\F0612.raw"), "F0612");
    EXPECT_EQ(baseNamePart("/data.v2/F0612"), "F0612");
    EXPECT_EQ(fileNamePart("F0612.raw"), "F0612.raw");
    EXPECT_EQ(fileNamePart("/data/"), "");
}

} // namespace
} // namespace lumo
