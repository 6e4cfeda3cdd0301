#include <gtest/gtest.h>

#include "flight/q5.h"
#include "processing/preferences.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

TEST(Preferences, MissingFileGivesDefaults)
{
    test::TempDir dir;
    const Preferences p = readPreferences(dir.file("absent.ini"));
    EXPECT_FALSE(p.lDetGps);
    EXPECT_EQ(p.lDetVal, 2.0);
    EXPECT_FALSE(p.endFltPrOn);
    EXPECT_FALSE(p.endFltAltOn);
    EXPECT_EQ(p.endFltPr, 0);
    EXPECT_EQ(p.endFltAlt, 0);
    EXPECT_TRUE(p.showAll);
    EXPECT_EQ(p.lpFilter, 0);
    EXPECT_FALSE(p.resTable);
    EXPECT_EQ(p.resTableFile, "");
}

TEST(Preferences, ValuesSinglePrecisionAsShownAndFallBacks)
{
    test::TempDir dir;
    const std::string file = dir.write("lumo.ini", "[pref]\nlDet=GPS\nlDetVal=2.3\nendFlt=pa\nendFltPr=5.678\n"
                                                   "endFltAlt=-3\nshowAll=1\nLPfilter=2.36\n"
                                                   "[o3]\nresidual=xyz\nresidualTable=\"/t/res.toz\"\n");
    const Preferences p = readPreferences(file);
    EXPECT_TRUE(p.lDetGps);
    EXPECT_EQ(p.lDetVal, static_cast<double>(2.3f));
    EXPECT_NE(p.lDetVal, 2.3);
    EXPECT_TRUE(p.endFltPrOn);
    EXPECT_TRUE(p.endFltAltOn);
    EXPECT_EQ(p.endFltPr, 5.68); // the edit box shows "%1.2f"
    EXPECT_EQ(p.endFltAlt, 0);   // negative: fall-back
    EXPECT_FALSE(p.showAll);
    EXPECT_EQ(p.lpFilter, 2.4);
    EXPECT_TRUE(p.resTable);
    EXPECT_EQ(p.resTableFile, "/t/res.toz");

    const Preferences bad = readPreferences(dir.write("bad.ini", "[pref]\nlDetVal=abc\nendFlt=PA\nshowAll=YES\n"
                                                                "[o3]\nresidual=CMR\n"));
    EXPECT_EQ(bad.lDetVal, 2.0);
    EXPECT_FALSE(bad.endFltPrOn); // the letters are case-sensitive
    EXPECT_TRUE(bad.showAll);
    EXPECT_FALSE(bad.resTable);
}

TEST(Preferences, ArchiveSectionKeepsEveryOtherSettingAsBefore)
{
    test::TempDir dir;
    const std::string plain = "[pref]\nlDet=gps\nshowAll=no\n[o3]\nresidual=table\nresidualTable=x.toz\n";
    const Preferences before = readPreferences(dir.write("a.ini", plain));
    EXPECT_EQ(before.archive.platformType, "STN");
    EXPECT_EQ(before.archive.agency, "");
    const Preferences p = readPreferences(dir.write(
        "b.ini", plain + "[archive]\nagency= SMNA \nplatformId=339\nplatformType=\ncountry=ARG\ndataVersion=\n"
                         "ndaccCode=us\n"
                         "groundEquipment=Lumo ground station, rev. 2\n"));
    EXPECT_EQ(p.archive.agency, "SMNA");
    EXPECT_EQ(p.archive.platformId, "339");
    EXPECT_EQ(p.archive.platformType, "STN"); // an empty value keeps the default
    EXPECT_EQ(p.archive.dataVersion, "1.0");
    EXPECT_EQ(p.archive.ndaccCode, "us");
    EXPECT_EQ(p.archive.country, "ARG");
    EXPECT_EQ(p.archive.groundEquipment, "Lumo ground station, rev. 2");
    EXPECT_EQ(p.lDetGps, before.lDetGps);
    EXPECT_EQ(p.showAll, before.showAll);
    EXPECT_EQ(p.resTable, before.resTable);
    EXPECT_EQ(p.resTableFile, before.resTableFile);
}

TEST(Preferences, AppliedToQ5)
{
    Q5 q;
    Preferences p;
    p.endFltPr = 10;
    p.endFltAltOn = true;
    p.endFltAlt = 30000;
    p.lpFilter = 4;
    p.resTableFile = "ignored.toz";
    applyPreferences(q, p);
    EXPECT_EQ(q.endFltPr, 0); // shown but not in use
    EXPECT_EQ(q.endFltAlt, 30000);
    EXPECT_EQ(q.lpFilter, 4);
    EXPECT_EQ(q.resTable, 0);
    EXPECT_EQ(q.resTableFile, "");
    p.resTable = true;
    applyPreferences(q, p);
    EXPECT_EQ(q.resTableFile, "ignored.toz");
}

TEST(Preferences, SavedAsShownAndReadBack)
{
    test::TempDir dir;
    const std::string file = dir.write("lumo.ini", "; kept\r\n[pref]\r\nlDet=ptu\r\n[other]\r\nx=1\r\n");
    Preferences p;
    p.lDetGps = true;
    p.lDetVal = static_cast<float>(2.3);
    p.endFltAltOn = true;
    p.endFltPr = 5.678;
    p.endFltAlt = 30000;
    p.showAll = false;
    p.lpFilter = 2.25;
    p.resTable = true;
    p.resTableFile = "/t/res o3.toz";
    ASSERT_TRUE(writePreferences(file, p));
    EXPECT_EQ(test::readFile(file), "; kept\r\n[pref]\r\nlDet=gps\r\nlDetVal=2.30\r\nendFlt=a\r\nendFltPr=5.68\r\n"
                                    "endFltAlt=30000.0\r\nshowAll=no\r\nLPfilter=2.2\r\n[other]\r\nx=1\r\n"
                                    "[o3]\r\nresidual=table\r\nresidualTable=\"/t/res o3.toz\"\r\n");
    const Preferences back = readPreferences(file);
    EXPECT_TRUE(back.lDetGps);
    EXPECT_EQ(back.lDetVal, static_cast<double>(2.3f));
    EXPECT_FALSE(back.endFltPrOn);
    EXPECT_EQ(back.endFltPr, 5.68);
    EXPECT_EQ(back.lpFilter, 2.2);
    EXPECT_EQ(back.resTableFile, "/t/res o3.toz");
    EXPECT_FALSE(writePreferences(dir.file("missing/lumo.ini"), p));
}

TEST(Preferences, ArchiveKeysSavedOnlyWhenSetAndReadBackExactly)
{
    test::TempDir dir;
    const std::string file = dir.write("lumo.ini", "[archive]\r\ngawId=87938\r\n");
    Preferences p;
    p.archive.agency = " \"SMNA\" ";
    p.archive.country = "ARG";
    ASSERT_TRUE(writePreferences(file, p));
    const std::string text = test::readFile(file);
    // gawId was in the file: cleared, not left behind; untouched defaults are not written.
    EXPECT_NE(text.find("[archive]\r\ngawId=\r\nagency=\" \"SMNA\" \"\r\ncountry=ARG\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("platformType"), std::string::npos);
    EXPECT_EQ(text.find("dataVersion"), std::string::npos);
    const Preferences back = readPreferences(file);
    EXPECT_EQ(back.archive.dataVersion, "1.0"); // the first version of a flight's data
    EXPECT_EQ(back.archive.agency, p.archive.agency);
    EXPECT_EQ(back.archive.gawId, "");
    EXPECT_EQ(back.archive.platformType, "STN");
}

TEST(Preferences, UncertaintySectionOverridesEachKeyAlone)
{
    test::TempDir dir;
    const UncertaintySettings d;
    const Preferences p = readPreferences(dir.write("u.ini", "[uncertainty]\ncurrentPct=2.5\nbackgroundUa=0.01\n"
                                                             "pumpEffPct10=-1\nconversionPct=abc\npumpEffPct5=7\n"));
    EXPECT_EQ(p.uncertainty.currentPct, 2.5);
    EXPECT_EQ(p.uncertainty.backgroundUa, 0.01);
    EXPECT_EQ(p.uncertainty.pumpEffPct5, 7);
    EXPECT_EQ(p.uncertainty.pumpEffPct10, d.pumpEffPct10);   // negative
    EXPECT_EQ(p.uncertainty.conversionPct, d.conversionPct); // not a number
    EXPECT_EQ(p.uncertainty.flowPct, d.flowPct);             // absent
    Q5 q;
    applyPreferences(q, p);
    EXPECT_EQ(q.uncertainty.currentPct, 2.5);
}

TEST(Preferences, EveryInvalidValueIsNamedWithTheValueUsed)
{
    test::TempDir dir;
    const UncertaintySettings d;
    const Preferences p = readPreferences(dir.write(
        "w.ini", "[pref]\nlDet=radar\nlDetVal=abc\nendFlt=px\nendFltAlt=-3\nshowAll=1\nLPfilter=1e39\n"
                 "[uncertainty]\ncurrentPct=1        ; cell current\nbackgroundUa=-0.02\npumpTempK=nan\n"
                 "flowPct=1e9\nhumidityPct=0.7\n"));
    std::vector<std::string> messages;
    for (const FlightWarning& w : p.warnings) {
        EXPECT_EQ(w.code, "prefs-value");
        messages.push_back(w.message);
    }
    ASSERT_EQ(messages.size(), 10u);
    EXPECT_EQ(messages[0], "The preferences key [pref] lDet holds \"radar\", which is not ptu or gps; ptu (the default)"
                           " was used.");
    EXPECT_NE(messages[1].find("[pref] lDetVal holds \"abc\""), std::string::npos);
    EXPECT_NE(messages[1].find("; 2 (the default) was used."), std::string::npos);
    EXPECT_NE(messages[2].find("[pref] endFlt holds \"px\""), std::string::npos);
    EXPECT_NE(messages[2].find("pressure end of flight was used"), std::string::npos);
    EXPECT_NE(messages[4].find("[pref] showAll holds \"1\", which is not no or yes; no (the default) was used"),
              std::string::npos);
    EXPECT_EQ(messages[6], "The preferences key [uncertainty] currentPct holds \"1        ; cell current\", which is"
                           " not a number from 0 to 1e+06; 1 (the default) was used.");
    EXPECT_NE(messages[9].find("[uncertainty] flowPct holds \"1e9\""), std::string::npos);
    EXPECT_TRUE(p.endFltPrOn);
    EXPECT_FALSE(p.showAll);
    EXPECT_EQ(p.lpFilter, 0);
    EXPECT_EQ(p.uncertainty.currentPct, d.currentPct);
    EXPECT_EQ(p.uncertainty.backgroundUa, d.backgroundUa);
    EXPECT_EQ(p.uncertainty.humidityPct, 0.7);
    // Archive texts: Latin-1 read as such, control characters replaced.
    const Preferences t = readPreferences(dir.write("t.ini", std::string("[archive]\nagency=Z\xFCrich\x01x\n"
                                                                         "platformName=Gen\xC3\xA8ve\n")));
    ASSERT_EQ(t.warnings.size(), 1u);
    EXPECT_NE(t.warnings[0].message.find("[archive] agency holds \"Z\\xFCrich\\x01x\""), std::string::npos)
        << t.warnings[0].message;
    EXPECT_EQ(t.archive.agency, "Z\xC3\xBCrich\xEF\xBF\xBDx");
    EXPECT_EQ(t.archive.platformName, "Gen\xC3\xA8ve");
    // Valid and missing keys say nothing.
    EXPECT_TRUE(readPreferences(dir.write("ok.ini", "[pref]\nlDet=GPS\nshowAll=no\nendFlt=ap\n")).warnings.empty());
}

} // namespace
} // namespace lumo

namespace lumo {
namespace {

TEST(Preferences, O3MethodKeysAndTheirWarnings)
{
    test::TempDir dir;
    const Preferences defaults = readPreferences(dir.file("absent.ini"));
    EXPECT_FALSE(defaults.o3Method.standard());
    EXPECT_FALSE(defaults.o3Method.responseCorrection);
    EXPECT_EQ(defaults.o3Method.tauSlow, 1500);
    EXPECT_EQ(defaults.o3Method.tauFast, Missing);

    const Preferences p = readPreferences(dir.write(
        "a.ini", "[o3]\nmethod=Standard\nresponseCorrection=yes\npumpTable=JMA\nbackground=ib1\ntauFast=30\n"
                 "tauSlow=1200\ntransferTo=6a10\npumpHeatOffset=no\n"));
    EXPECT_TRUE(p.o3Method.standard());
    EXPECT_TRUE(defaults.o3Method.pumpHeatOffset);
    EXPECT_FALSE(p.o3Method.pumpHeatOffset);
    EXPECT_TRUE(p.o3Method.responseCorrection);
    EXPECT_EQ(p.o3Method.pumpTable, PumpTable::Jma);
    EXPECT_EQ(p.o3Method.background, BackgroundChoice::Ib1);
    EXPECT_EQ(p.o3Method.tauFast, 30);
    EXPECT_EQ(p.o3Method.tauSlow, 1200);
    EXPECT_EQ(p.o3Method.transferTo, TransferTo::SixA10);
    EXPECT_TRUE(p.warnings.empty());

    const Preferences bad = readPreferences(dir.write(
        "b.ini", "[o3]\nmethod=modern\nresponseCorrection=maybe\npumpTable=x\nbackground=ib9\ntauFast=-1\n"
                 "tauSlow=soon\ntransferTo=z10\npumpHeatOffset=off\n"));
    ASSERT_EQ(bad.warnings.size(), 8u);
    const char* used[] = {"classic", "no", "auto", "auto", "auto (by sonde type)", "1500.0 s", "none", "yes"};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(bad.warnings[i].code, "prefs-value");
        EXPECT_NE(bad.warnings[i].message.find(std::string(used[i]) + " was used instead"), std::string::npos)
            << bad.warnings[i].message;
    }
    EXPECT_FALSE(bad.o3Method.standard());

    const Preferences classicWithResponse = readPreferences(dir.write("c.ini", "[o3]\nresponseCorrection=yes\n"));
    EXPECT_FALSE(classicWithResponse.o3Method.responseCorrection);
    ASSERT_EQ(classicWithResponse.warnings.size(), 1u);
    EXPECT_NE(classicWithResponse.warnings[0].message.find("method=classic"), std::string::npos);
}

} // namespace
} // namespace lumo
