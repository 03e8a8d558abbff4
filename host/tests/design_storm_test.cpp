// Design storms: the blocks add up to the relation's depth for the whole
// duration and stand in alternating order around the chosen peak.
#include "design_storm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numeric>
#include <sstream>

#include "input_error.h"
#include "test_files.h"

namespace vesk::host {
namespace {

DesignStormOptions hourInTenMinuteSteps() {
    DesignStormOptions o;
    o.relation = IntensityRelation{60.0, 10.0, 0.8, 1.0};
    o.duration = 60;
    o.step = 10;
    return o;
}

TEST(DesignStorm, DepthOfADurationIsTheIntensityOverThatTime) {
    const IntensityRelation r{60.0, 10.0, 0.8, 2.0};
    // i = 2 x 60 / (10 + 30)^0.8 in/h over 30 min.
    EXPECT_DOUBLE_EQ(durationDepth(r, 30), 2.0 * 60.0 / std::pow(40.0, 0.8) * 30.0 / 60.0);
}

TEST(DesignStorm, AlternatingBlocksAroundTheMiddle) {
    const DesignStormOptions o = hourInTenMinuteSteps();
    const std::vector<double> depths = designStorm(o);
    ASSERT_EQ(depths.size(), 6u);
    const IntensityRelation &r = o.relation;
    std::vector<double> increments;
    for (int k = 1; k <= 6; ++k) increments.push_back(durationDepth(r, 10 * k) - durationDepth(r, 10 * (k - 1)));
    // Deepest at the middle (index 3 of 0..5), the second after it, the
    // third before it, and so on; the last side left takes the rest.
    EXPECT_EQ(depths, (std::vector<double>{increments[5], increments[4], increments[2], increments[0], increments[1],
                                           increments[3]}));
    EXPECT_NEAR(std::accumulate(depths.begin(), depths.end(), 0.0), durationDepth(r, 60), 1e-12);
}

TEST(DesignStorm, PeakPositionAndUniformStorms) {
    DesignStormOptions o = hourInTenMinuteSteps();
    o.peakPosition = 0.0;
    const std::vector<double> first = designStorm(o);
    EXPECT_TRUE(std::is_sorted(first.rbegin(), first.rend())) << "deepest first, then falling";
    o.peakPosition = 1.0;
    const std::vector<double> last = designStorm(o);
    EXPECT_TRUE(std::is_sorted(last.begin(), last.end())) << "rising to the deepest last";
    o.uniform = true;
    const std::vector<double> even = designStorm(o);
    EXPECT_EQ(even, std::vector<double>(6, durationDepth(o.relation, 60) / 6.0));
}

TEST(DesignStorm, InconsistentOptionsAreRefused) {
    DesignStormOptions o = hourInTenMinuteSteps();
    o.step = 7;
    EXPECT_THROW(designStorm(o), InputError);
    o = hourInTenMinuteSteps();
    o.peakPosition = 1.5;
    EXPECT_THROW(designStorm(o), InputError);
    o = hourInTenMinuteSteps();
    o.relation.c = 1.5; // the depth falls as the duration grows
    EXPECT_THROW(designStorm(o), InputError);
}

// Relations no run could take are refused when the storm is made, not when
// it is run: intensity rising with the duration, steps beyond 100 in (in
// either unit), numbers that overflow.
TEST(DesignStorm, StormsARunWouldRefuseAreNotMade) {
    struct Case {
        const char *what;
        IntensityRelation relation;
        UnitSystem units;
        bool uniform;
        const char *message;
    } cases[] = {
        {"rising intensity", {60.0, 10.0, -0.8, 1.0}, UnitSystem::Us, false, "the mean intensity rises with the duration"},
        {"huge a", {1e300, 10.0, 0.8, 1.0}, UnitSystem::Us, false, "beyond the 100 in (2540 mm) a run accepts"},
        {"huge a, uniform", {1e300, 10.0, 0.8, 1.0}, UnitSystem::Us, true, "beyond the 100 in"},
        {"overflow", {1e308, 10.0, 0.8, 1e10}, UnitSystem::Us, false, "must be finite"},
        // 5e5 / 70^0.8 / 6: about 2780 mm in each ten minutes, beyond 2540 mm.
        {"millimetres", {5e5, 10.0, 0.8, 1.0}, UnitSystem::Si, true, "step 1 would hold"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        DesignStormOptions o = hourInTenMinuteSteps();
        o.relation = c.relation;
        o.units = c.units;
        o.uniform = c.uniform;
        try {
            designStorm(o);
            ADD_FAILURE() << "accepted";
        } catch (const InputError &error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    DesignStormOptions inches = hourInTenMinuteSteps();
    inches.relation.a = 1.1e5; // 1.1e5 / 70^0.8 / 6: about 612 in in each ten minutes
    inches.uniform = true;
    EXPECT_THROW(designStorm(inches), InputError);
    DesignStormOptions metric = inches;
    metric.relation.a = 4e4; // about 222 mm a step: fine in millimetres
    metric.units = UnitSystem::Si;
    EXPECT_NO_THROW(designStorm(metric));
}

// The NRCS table as the tests keep it: hour, Type I, Type II.
std::vector<std::vector<double>> nrcsTable() {
    std::ifstream in(testing::inputsPath("design/nrcs_24h.csv"));
    std::vector<std::vector<double>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line[0] == 'h') continue;
        std::istringstream cells(line);
        std::vector<double> row;
        for (std::string cell; std::getline(cells, cell, ',');) row.push_back(std::stod(cell));
        rows.push_back(row);
    }
    EXPECT_EQ(rows.size(), 49u);
    return rows;
}

TEST(DesignStorm, NrcsDistributionsAddUpToTheDepthAndMatchTheTableEveryHalfHour) {
    const auto table = nrcsTable();
    const std::vector<Distribution> &builtIn = builtInDistributions();
    ASSERT_EQ(builtIn.size(), 2u);
    for (std::size_t type = 0; type < 2; ++type) {
        const Distribution &d = findDistribution(builtIn, type == 0 ? "NRCS_TYPE_I" : "nrcs_type_ii", "test");
        SCOPED_TRACE(d.name);
        for (int step : {30, 15, 6}) {
            const std::vector<double> depths = distributionStorm(d, 3.5, step, UnitSystem::Us);
            ASSERT_EQ(depths.size(), static_cast<std::size_t>(1440 / step));
            double sum = 0.0;
            for (std::size_t k = 0; k < depths.size(); ++k) {
                EXPECT_GE(depths[k], 0.0);
                sum += depths[k];
                const int minutes = static_cast<int>(k + 1) * step;
                if (minutes % 30 == 0) {
                    EXPECT_NEAR(sum / 3.5, table[static_cast<std::size_t>(minutes / 30)][type + 1], 1e-12)
                        << "at " << minutes << " min";
                }
            }
            EXPECT_NEAR(sum, 3.5, 1e-12);
        }
        // Between the table's half hours the fraction lies on the straight line.
        const double at45 = (table[1][type + 1] + table[2][type + 1]) / 2.0;
        EXPECT_NEAR(cumulativeFraction(d, 45.0), at45, 1e-15);
    }
    // The same table read as a distribution file gives the same distributions.
    const std::vector<Distribution> read = readDistributions(testing::inputsPath("design/nrcs_24h.csv"));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].fractions, builtIn[0].fractions);
    EXPECT_EQ(read[1].minutes, builtIn[1].minutes);
    EXPECT_EQ(read[1].fractions, builtIn[1].fractions);
    EXPECT_THROW(distributionStorm(builtIn[0], 3.5, 7, UnitSystem::Us), InputError); // 7 does not divide 24 h
    EXPECT_THROW(distributionStorm(builtIn[0], -1.0, 30, UnitSystem::Us), InputError);
}

TEST(DesignStorm, FaultyDistributionFilesAreRefusedWithTheirLine) {
    const struct {
        const char *text;
        const char *message;
    } cases[] = {
        {"second,a\n0,0\n1,1\n", "f.csv:1: the first column is 'second'; name it hour or minute"},
        {"minute,a\n5,0\n10,1\n", "f.csv:2: the first row must be at minute 0"},
        {"minute,a\n0,0\n30,0.6\n60,0.5\n90,1\n", "f.csv:4: a: the cumulative fraction falls from 0.6 to 0.5"},
        {"minute,a\n0,0\n30,0.9\n", "f.csv:3: a: the cumulative fraction ends at 0.9, not 1"},
        {"minute,a\n0,0\n30,1.5\n", "f.csv:3: a: the cumulative fraction 1.5 is outside 0 to 1"},
        {"minute,a\n0,0\n30,0.5\n30,1\n", "f.csv:4: times must increase: 30 follows 30"},
        {"hour,a,A\n0,0,0\n1,1,1\n", "f.csv:1: the distribution a is named twice"},
    };
    for (const auto &c : cases) {
        try {
            parseDistributionsText(c.text, "f.csv");
            ADD_FAILURE() << "accepted " << c.text;
        } catch (const InputError &error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(IdfTable, RelationsByReturnPeriodMakeNamedStorms) {
    const IdfTable table =
        parseIdfTableText("# made up\nc,b_min,a_mm_h,return_period_yr\n0.8,10,1524,2\n0.8,10,2540,100\n", "idf.csv");
    EXPECT_EQ(table.units, UnitSystem::Si);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[1].returnPeriod, 100.0);
    EXPECT_EQ(table.rows[1].relation.a, 2540.0);
    EXPECT_EQ(table.rows[1].line, 4);
    const std::vector<DesignStorm> storms = idfStorms(table, {100, 2}, {30, 60}, 10, 0.5, false);
    ASSERT_EQ(storms.size(), 4u);
    EXPECT_EQ(storms[0].name, "100yr_30min");
    EXPECT_EQ(storms[3].name, "2yr_60min");
    EXPECT_EQ(storms[3].units, UnitSystem::Si);
    // 1524 / (10 + 60)^0.8 mm/h over an hour.
    const double hour = std::accumulate(storms[3].depths.begin(), storms[3].depths.end(), 0.0);
    EXPECT_NEAR(hour, 1524.0 / std::pow(70.0, 0.8), 1e-9);
    try {
        idfStorms(table, {10}, {60}, 10, 0.5, false);
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(), "idf.csv: holds no relation for the return period 10 yr (it holds 2, 100 yr); "
                                   "return periods are not interpolated");
    }
    // A storm set written and read back gives the same storms.
    std::ostringstream written;
    writeStormSetCsv(written, storms);
    const StormSet read = parseStormsText(written.str(), "set.csv");
    ASSERT_EQ(read.storms.size(), 4u);
    EXPECT_TRUE(read.named);
    EXPECT_EQ(read.storms[2].name, "2yr_30min");
    EXPECT_EQ(read.storms[2].storm.depths, stormOf(storms[2], "storm").depths);
    EXPECT_EQ(read.storms[2].storm.stepMinutes, 10);
}

TEST(IdfTable, FaultyTablesAreRefusedWithTheirLine) {
    const struct {
        const char *text;
        const char *message;
    } cases[] = {
        {"return_period_yr,a,b_min,c\n2,60,10,0.8\n", "t.csv:1: unknown column 'a'; an IDF table has"},
        {"return_period_yr,a_in_h,c\n2,60,0.8\n", "t.csv:1: the header has no column b_min"},
        {"return_period_yr,a_in_h,a_mm_h,b_min,c\n2,60,1524,10,0.8\n", "t.csv:1: the column a_mm_h is given twice"},
        {"return_period_yr,a_in_h,b_min,c\n2,60,10,0.8\n2,70,10,0.8\n", "t.csv:3: the return period 2 yr is given twice"},
        {"return_period_yr,a_in_h,b_min,c\n2,sixty,10,0.8\n", "t.csv:2: a_in_h 'sixty' is not a finite number"},
        {"return_period_yr,a_in_h,b_min,c\n0,60,10,0.8\n", "t.csv:2: return period 0 yr is not above 0"},
        {"return_period_yr,a_in_h,b_min,c\n2,60,10\n", "t.csv:2: expected 4 cells as in the header, found 3"},
        {"return_period_yr,a_in_h,b_min,c\n", "t.csv: holds no return periods"},
    };
    for (const auto &c : cases) {
        try {
            parseIdfTableText(c.text, "t.csv");
            ADD_FAILURE() << "accepted " << c.text;
        } catch (const InputError &error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.message, 0), 0u) << error.what();
        }
    }
}

} // namespace
} // namespace vesk::host
