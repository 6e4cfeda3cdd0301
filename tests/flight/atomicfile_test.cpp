// The atomic writer every file of the program goes through.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "flight/atomicfile.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

TEST(AtomicFile, ReplacesTheTargetOnlyOnCommit)
{
    test::TempDir dir;
    const std::string target = dir.write("flight.csv", "old content");
    {
        AtomicFile f(target);
        ASSERT_TRUE(f.open());
        std::fputs("new", f.file());
        EXPECT_EQ(test::readFile(target), "old content");
        EXPECT_EQ(f.tempPath().parent_path(), dir.path());
        // Not committed: the target stays and the temporary file goes.
    }
    EXPECT_EQ(test::readFile(target), "old content");
    EXPECT_EQ(test::filesIn(dir.path()), 1);

    AtomicFile f(target);
    ASSERT_TRUE(f.open());
    std::fputs("new", f.file());
    ASSERT_TRUE(f.commit());
    EXPECT_EQ(test::readFile(target), "new");
    EXPECT_EQ(test::filesIn(dir.path()), 1);
}

TEST(AtomicFile, FailedRenameLeavesNoTemporaryFile)
{
    test::TempDir dir;
    // A folder in the target's place cannot be replaced by a file.
    const std::filesystem::path target = dir.path() / "taken.csv";
    std::filesystem::create_directory(target);
    std::filesystem::create_directory(target / "inside");
    AtomicFile f(target);
    ASSERT_TRUE(f.open());
    std::fputs("data", f.file());
    EXPECT_FALSE(f.commit());
    EXPECT_EQ(test::filesIn(dir.path()), 1);
    EXPECT_TRUE(std::filesystem::is_directory(target));
}

TEST(AtomicFile, WholeContentOrNothing)
{
    test::TempDir dir;
    const std::string target = dir.write("prefs.ini", "old");
    ASSERT_TRUE(writeFileAtomically(target, "new\r\n"));
    EXPECT_EQ(test::readFile(target), "new\r\n");
    // Two writers of the same target at once get different temporary files.
    AtomicFile first(target), second(target);
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(second.open());
    EXPECT_NE(first.tempPath(), second.tempPath());
    second.discard();
    first.discard();
    EXPECT_FALSE(writeFileAtomically(dir.file("missing/prefs.ini"), "x"));
    EXPECT_EQ(test::filesIn(dir.path()), 1);
}

TEST(AtomicFile, LeftoversAndPlantedLinksNeverBlockOrLeak)
{
    test::TempDir dir;
    const std::string victim = dir.write("victim.txt", "keep");
    // What killed runs of the old, numbered temporary names left behind,
    // and links planted where those names were.
    for (int i = 0; i < 100; ++i)
        dir.write(".out.csv.tmp" + std::to_string(i), "leftover");
    for (int i = 100; i < 110; ++i)
        std::filesystem::create_symlink(victim, dir.path() / (".out.csv.tmp" + std::to_string(i)));
    for (int run = 0; run < 20; ++run)
        ASSERT_TRUE(writeFileAtomically(dir.file("out.csv"), "data")) << run;
    EXPECT_EQ(test::readFile(dir.file("out.csv")), "data");
    EXPECT_EQ(test::readFile(victim), "keep");
    EXPECT_EQ(test::filesIn(dir.path()), 112);
}

} // namespace
} // namespace lumo
