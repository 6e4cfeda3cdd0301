// The committed sample flights (scripts/make-samples) read back with the
// counts their truth files state, and process with the residual table.

#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "processing/flightimport.h"
#include "simfixture.h"

namespace lumo::test {
namespace {

nlohmann::json truthOf(const std::string& sample)
{
    std::ifstream in(sourcePath("samples/" + sample + ".truth.json"));
    return nlohmann::json::parse(in);
}

class SampleFlight : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleFlight, ReadsBackWithTheCountsOfItsTruthFile)
{
    const std::string sample = GetParam();
    const auto truth = truthOf(sample);
    Q5 q5;
    ASSERT_TRUE(importFlight(q5, sourcePath("samples/" + sample + ".raw"), sourcePath("samples/" + sample + ".cfg")).ok());
    const auto& counts = truth["counts"];
    const RecordCounts s = countRecords(q5.sfcRecs);
    const RecordCounts f = countRecords(q5.fltRecs);
    EXPECT_EQ(s.ptu, counts["surface"]["ptu"].get<std::size_t>());
    EXPECT_EQ(f.ptu, counts["flight"]["ptu"].get<std::size_t>());
    EXPECT_EQ(s.gps, counts["surface"]["gps"].get<std::size_t>());
    EXPECT_EQ(f.gps, counts["flight"]["gps"].get<std::size_t>());
    EXPECT_EQ(s.aux, counts["surface"]["aux"].get<std::size_t>());
    EXPECT_EQ(f.aux, counts["flight"]["aux"].get<std::size_t>());
    const std::size_t sondes = truth["sondes"].size();
    EXPECT_EQ(q5.o3Count, sondes);
    for (std::size_t i = 0; i < sondes; ++i) {
        EXPECT_EQ(s.ozone[i], counts["surface"]["ozone"][i].get<std::size_t>());
        EXPECT_EQ(f.ozone[i], counts["flight"]["ozone"][i].get<std::size_t>());
        EXPECT_EQ(std::string(q5.o3Sonde[i].sn), truth["sondes"][i]["sn"].get<std::string>());
    }
}

TEST_P(SampleFlight, ProcessesToTheTrueColumnWithTheResidualTable)
{
    const std::string sample = GetParam();
    const auto truth = truthOf(sample);
    Q5 q5;
    ASSERT_TRUE(importFlight(q5, sourcePath("samples/" + sample + ".raw"), sourcePath("samples/" + sample + ".cfg")).ok());
    ScriptedDialogs dialogs(false);
    q5.dialogs = &dialogs;
    q5.resTable = 1;
    q5.resTableFile = sourcePath("samples/residual.toz");
    ASSERT_TRUE(q5.processFlight());
    EXPECT_TRUE(dialogs.transcript.empty());
    for (std::size_t i = 0; i < truth["sondes"].size(); ++i) {
        const auto& s = truth["sondes"][i];
        const double toBurst = s["columnToBurst"].get<double>();
        const double above = s["columnAboveBurst"].get<double>();
        EXPECT_NEAR(q5.o3Measured[i], toBurst, toBurst * 0.01) << sample << " ozonesonde " << i + 1;
        // The table is a climatology: the flight's own ozone above the burst
        // differs from it by its scaling of several per cent.
        EXPECT_NEAR(q5.o3Residual[i], above, above * 0.25) << sample << " ozonesonde " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleFlight, ::testing::Values("flight1", "flight4"));

} // namespace
} // namespace lumo::test
