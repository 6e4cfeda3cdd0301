#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "flight/ini.h"
#include "support/testfiles.h"

using namespace lumo;
using lumo::test::readFile;
using lumo::test::TempDir;

TEST(IniRead, NamesMatchWithoutCaseAndFirstMatchWins)
{
    TempDir dir;
    const std::string f = dir.write("a.ini",
                                    "top=outside\r\n"
                                    "[Station]\r\n"
                                    "Name = Payerne \r\n"
                                    "name=second\r\n"
                                    "[other]\r\n"
                                    "lat=1\r\n"
                                    "[STATION]\r\n"
                                    "alt=491\r\n");
    EXPECT_EQ(IniReadText("station", "NAME", "x", f), "Payerne");
    // Only the first [station] section is searched.
    EXPECT_EQ(IniReadText("station", "alt", "none", f), "none");
    EXPECT_EQ(IniReadText("other", "lat", "", f), "1");
    // Keys before the first section belong to none.
    EXPECT_EQ(IniReadText("", "top", "d", f), "d");
    EXPECT_EQ(IniReadText("missing", "name", "dflt", f), "dflt");
}

TEST(IniRead, TrimmingQuotesAndComments)
{
    TempDir dir;
    const std::string f = dir.write("a.ini",
                                    "  [ sec ]  \n"
                                    "; name=commented\n"
                                    "  ;lat=2\n"
                                    "q1 = \"  spaced  \"\n"
                                    "q2='single'\n"
                                    "q3=\"unmatched'\n"
                                    "q4=a ; not a comment\n"
                                    "empty =\n"
                                    "eq=a=b\n"
                                    "noequals\n");
    EXPECT_EQ(IniReadText("sec", "name", "d", f), "d");
    EXPECT_EQ(IniReadText("sec", "lat", "d", f), "d");
    EXPECT_EQ(IniReadText("sec", "q1", "", f), "  spaced  ");
    EXPECT_EQ(IniReadText("sec", "q2", "", f), "single");
    EXPECT_EQ(IniReadText("sec", "q3", "", f), "\"unmatched'");
    EXPECT_EQ(IniReadText("sec", "q4", "", f), "a ; not a comment");
    // A present, empty key is empty text, not the default.
    EXPECT_EQ(IniReadText("sec", "empty", "d", f), "");
    EXPECT_EQ(IniReadText("sec", "eq", "", f), "a=b");
    EXPECT_EQ(IniReadText("sec", "noequals", "d", f), "d");
}

TEST(IniRead, BufferCutsText)
{
    TempDir dir;
    const std::string f = dir.write("a.ini", "[s]\nk=0123456789\n");
    char buf[5];
    EXPECT_EQ(IniReadText("s", "k", "", buf, f), 4u);
    EXPECT_STREQ(buf, "0123");
    EXPECT_EQ(IniReadText("s", "missing", "abcdefgh", buf, f), 4u);
    EXPECT_STREQ(buf, "abcd");
}

TEST(IniRead, IntegersAndNumbers)
{
    TempDir dir;
    const std::string f = dir.write("a.ini",
                                    "[s]\n"
                                    "i1= 42abc\n"
                                    "i2=yes\n"
                                    "i3=\n"
                                    "i4=-7\n"
                                    "i5=99999999999\n"
                                    "n1= -1.5e2xyz\n"
                                    "n2=abc\n"
                                    "n3=\n"
                                    "n4=.25\n"
                                    "n5=1,5\n"
                                    "n6=nan\n"
                                    "n7=+3\n");
    EXPECT_EQ(IniReadInt("s", "i1", 5, f), 42);
    EXPECT_EQ(IniReadInt("s", "i2", 5, f), 0);
    EXPECT_EQ(IniReadInt("s", "i3", 5, f), 5);
    EXPECT_EQ(IniReadInt("s", "i4", 5, f), -7);
    EXPECT_EQ(IniReadInt("s", "i5", 5, f), 2147483647);
    EXPECT_EQ(IniReadInt("s", "none", 5, f), 5);
    EXPECT_EQ(IniReadNumber("s", "n1", 9, f), -150.0);
    EXPECT_EQ(IniReadNumber("s", "n2", 9, f), 0.0);
    EXPECT_EQ(IniReadNumber("s", "n3", 9, f), 9.0);
    EXPECT_EQ(IniReadNumber("s", "n4", 9, f), 0.25);
    EXPECT_EQ(IniReadNumber("s", "n5", 9, f), 1.0);
    EXPECT_EQ(IniReadNumber("s", "n6", 9, f), 0.0);
    EXPECT_EQ(IniReadNumber("s", "n7", 9, f), 3.0);
    EXPECT_EQ(IniReadNumber("s", "none", -1, f), -1.0);
}

TEST(IniRead, JunkFilesReadAsEmpty)
{
    TempDir dir;
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary += static_cast<char>(i * 31 % 256);
    const std::string junk = dir.write("junk.ini", binary);
    EXPECT_EQ(IniReadText("s", "k", "d", junk), "d");
    const std::string nul = dir.write("nul.ini", std::string("[s]\0x\nk=v\0w\n", 13));
    EXPECT_EQ(IniReadText("s", "k", "d", nul), std::string("v\0w", 3));
    const std::string huge = dir.write("huge.ini", "[s]\nk=" + std::string(1 << 20, 'v') + "\n");
    EXPECT_EQ(IniReadText("s", "k", "d", huge).size(), 1u << 20);
    // Old Mac line ends.
    const std::string cr = dir.write("cr.ini", "[s]\rk=v\rj=w\r");
    EXPECT_EQ(IniReadText("s", "j", "d", cr), "w");
    EXPECT_EQ(IniReadText("s", "k", "d", dir.path().string()), "d");
    EXPECT_EQ(IniReadInt("s", "k", 3, dir.file("absent.ini")), 3);
}

TEST(IniWrite, UpdatesInPlaceAndKeepsOtherLines)
{
    TempDir dir;
    const std::string f = dir.write("a.ini",
                                    "; prefs\r\n"
                                    "[pref]\r\n"
                                    "  LDet = ptu\r\n"
                                    "showAll=yes\r\n"
                                    "\r\n"
                                    "[o3]\r\n"
                                    "residual=cmr\r\n");
    ASSERT_TRUE(IniWriteText("PREF", "ldet", "gps", f));
    EXPECT_EQ(readFile(f), "; prefs\r\n[pref]\r\n  LDet=gps\r\nshowAll=yes\r\n\r\n[o3]\r\nresidual=cmr\r\n");
    // A new key goes after the last line of its section, before the blank line.
    ASSERT_TRUE(IniWriteText("pref", "endFlt", "pa", f));
    EXPECT_EQ(readFile(f), "; prefs\r\n[pref]\r\n  LDet=gps\r\nshowAll=yes\r\nendFlt=pa\r\n\r\n[o3]\r\nresidual=cmr\r\n");
    // A new section goes at the end.
    ASSERT_TRUE(IniWriteText("extra", "k", "v", f));
    EXPECT_EQ(readFile(f), "; prefs\r\n[pref]\r\n  LDet=gps\r\nshowAll=yes\r\nendFlt=pa\r\n\r\n[o3]\r\nresidual=cmr\r\n"
                           "[extra]\r\nk=v\r\n");
    EXPECT_EQ(IniReadText("pref", "endflt", "", f), "pa");
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(IniWrite, CreatesFileAndFollowsItsLineEnds)
{
    TempDir dir;
    const std::string f = dir.file("new.ini");
    ASSERT_TRUE(IniWriteText("o3", "residualTable", "\"C:\\data\\toz.toz\"", f));
    EXPECT_EQ(readFile(f), "[o3]\r\nresidualTable=\"C:\\data\\toz.toz\"\r\n");
    EXPECT_EQ(IniReadText("o3", "residualTable", "", f), "C:\\data\\toz.toz");

    // A file with LF line ends and no final line end gets LF lines.
    const std::string g = dir.write("lf.ini", "[a]\nx=1");
    ASSERT_TRUE(IniWriteText("a", "y", "2", g));
    EXPECT_EQ(readFile(g), "[a]\nx=1\ny=2\n");
    // A byte-order mark neither hides the first section nor gets lost.
    const std::string bom = dir.write("bom.ini", "\xEF\xBB\xBF[a]\r\nx=1\r\n");
    EXPECT_EQ(IniReadText("a", "x", "", bom), "1");
    ASSERT_TRUE(IniWriteText("a", "x", "2", bom));
    EXPECT_EQ(readFile(bom), "\xEF\xBB\xBF[a]\r\nx=2\r\n");
    // Line breaks in a value cannot split it into lines.
    ASSERT_TRUE(IniWriteText("a", "z", "one\ntwo", g));
    EXPECT_EQ(IniReadText("a", "z", "", g), "one two");
    // A directory cannot be written as a file.
    EXPECT_FALSE(IniWriteText("a", "k", "v", dir.path().string()));
    EXPECT_FALSE(IniWriteText("a", "k", "v", dir.file("no/such/dir.ini")));
}

TEST(IniWrite, NumbersUseDecimalPointWhateverTheLocale)
{
    TempDir dir;
    const std::string f = dir.file("n.ini");
    ASSERT_TRUE(IniWriteNumber("pref", "lDetVal", "%1.2f", 2.5f, f));
    ASSERT_TRUE(IniWriteNumber("pref", "endFltAlt", "%1.1f", 30000.0f, f));
    // A locale with a decimal comma, when one is installed.
    const std::string old = std::setlocale(LC_NUMERIC, nullptr);
    const bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    ASSERT_TRUE(IniWriteNumber("pref", "LPfilter", "%1.1f", 12.25f, f));
    std::setlocale(LC_NUMERIC, old.c_str());
    EXPECT_EQ(readFile(f), "[pref]\r\nlDetVal=2.50\r\nendFltAlt=30000.0\r\nLPfilter=12.2\r\n") << "comma locale: " << comma;
    EXPECT_EQ(IniReadNumber("pref", "lDetVal", -1, f), 2.5);
}

// A UTF-8 byte-order mark before the first section header used to hide that
// section: a configuration saved by a Windows editor lost its station.
TEST(IniByteOrderMark, FirstSectionIsRead)
{
    const test::TempDir dir;
    const std::string path = dir.write("bom.cfg", "\xEF\xBB\xBF[station]\r\nname=Payerne\r\nlat=46.8\r\n");
    EXPECT_EQ(IniReadText("station", "name", "None", path), "Payerne");
    EXPECT_EQ(IniReadNumber("station", "lat", 0, path), 46.8);
    ASSERT_TRUE(IniWriteText("station", "alt", "491", path));
    EXPECT_EQ(IniReadText("station", "name", "None", path), "Payerne");
    EXPECT_EQ(IniReadInt("station", "alt", 0, path), 491);
}
