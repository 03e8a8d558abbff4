// The HTML report as vesk writes it: SI wording, warnings once with their
// basins, names escaped, inputs with their digests, a fixed date on request
// and the refusals of --report.  (Rendering in a browser: report_in_browser.py.)
#include <gtest/gtest.h>

#include <cstdlib>

#include "html_report.h"
#include "test_files.h"

namespace vesk::tool {
namespace {

using namespace testing;

std::size_t count(const std::string &text, const std::string &part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
}

const char *const kSiStorm = "time_min,depth_mm\n5,10\n10,20\n15,5\n";

TEST(HtmlReport, SiThroughoutWithTheStormsDigest) {
    const std::string storm = writeScratchFile("report-si-storm.csv", kSiStorm);
    const std::string report = outputPath("si-report.html");
    const ProgramRun run = runVesk({"run", dataPath("worked_impervious.basin"), "--rain", storm, "--units", "si",
                                    "--duration", "20", "--report", report});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("report written to " + report), std::string::npos) << run.out;
    const std::string html = readWholeFile(report);
    for (const char *si : {"m3/s", "% of 25.4 mm", "km2", "mm/h", "SI (km2, km, mm, m3/s, m3)"})
        EXPECT_NE(html.find(si), std::string::npos) << si;
    for (const char *us : {"cfs", "acre-ft", "sq mi", "% of 1 in", "in/h", "US customary"})
        EXPECT_EQ(html.find(us), std::string::npos) << us;
    // The run's warning (cut by the duration) is in the report as printed.
    EXPECT_NE(html.find("the run stopped"), std::string::npos);
    EXPECT_NE(html.find("1727494c5c9e287c6effeccb07011b30621d7c719186ca6e39aa80d211014568"), std::string::npos);
    EXPECT_EQ(html.find("id=\"peaks\""), std::string::npos); // one storm: no table of peaks by storm

    const std::string twice = outputPath("two-storm-report.html");
    const ProgramRun two = runVesk({"run", dataPath("worked_impervious.basin"), "--rain", storm, "--rain",
                                    writeScratchFile("report-si-storm-2.csv", kSiStorm), "--units", "si",
                                    "--duration", "20", "--report", twice});
    ASSERT_EQ(two.status, 0) << two.err;
    const std::string both = readWholeFile(twice);
    EXPECT_NE(both.find("id=\"peaks\""), std::string::npos);
    EXPECT_NE(both.find("id=\"figure-2\""), std::string::npos);
}

// Thirty basins, three of them steep, one named with markup: each warning
// cause once with a count and its basins, the outlet first, the figure
// showing the basins as a band.
TEST(HtmlReport, ManyBasinsWarnedOnceEachAndNamesEscaped) {
    std::string table = "name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
                        "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay\n";
    for (int b = 0; b < 30; ++b)
        table += (b == 7 ? std::string("Lot <7> & yard") : "Lot-" + std::to_string(b)) + "," +
                 std::to_string(0.05 + 0.01 * b) + ",0.6,0.3," + std::to_string(20 + b) + "," +
                 (b % 10 == 0 ? "0.6" : "0.01") + ",0.1,0.3,3,0.5,0.0015\n";
    const std::string report = outputPath("thirty-basins.html");
    const ProgramRun run = runVesk({"run", writeScratchFile("thirty-basins.csv", table), "--rain",
                                    examplePath("design_storm_2h.csv"), "--report", report});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string html = readWholeFile(report);
    EXPECT_EQ(count(html, "unusual values, accepted"), 1u);
    EXPECT_NE(html.find("Lot-0 ("), std::string::npos); // the steep basins listed with their details
    EXPECT_NE(html.find("Lot-20 ("), std::string::npos);
    EXPECT_NE(html.find("Lot &lt;7&gt; &amp; yard"), std::string::npos);
    EXPECT_EQ(html.find("Lot <7>"), std::string::npos);
    EXPECT_EQ(count(html, "<tr class=\"outlet\">"), 1u);
    EXPECT_LT(html.find("<td>outlet</td>"), html.find("<td>Lot-0</td>"));
    EXPECT_NE(html.find("the range of the 30 basins' outflows as a grey band"), std::string::npos);
}

TEST(HtmlReport, FixedDateGivesTheSameBytes) {
    ASSERT_EQ(setenv("SOURCE_DATE_EPOCH", "86400", 1), 0);
    const std::string storm = writeScratchFile("report-dated-storm.csv", kSiStorm);
    std::string reports[2];
    for (std::string &html : reports) {
        const std::string path = outputPath("fixed-date.html");
        const ProgramRun run = runVesk({"run", dataPath("worked_impervious.basin"), "--rain", storm, "--units", "si",
                                        "--duration", "20", "--report", path});
        ASSERT_EQ(run.status, 0) << run.err;
        html = readWholeFile(path);
    }
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(reports[0], reports[1]);
    EXPECT_NE(reports[0].find("1970-01-02 00:00 UTC"), std::string::npos);
}

TEST(HtmlReport, RefusesWhatItCannotWrite) {
    const std::string basin = dataPath("worked_impervious.basin");
    const std::string storm = writeScratchFile("report-refusal-storm.csv", kSiStorm);
    const struct {
        std::vector<std::string> extra;
        const char *message;
    } cases[] = {
        {{"--report", "-"}, "--report writes a file; give it a name"},
        {{"--report", storm}, "--report would overwrite the input file"},
        {{"--report", outputPath("same.out"), "--summary", outputPath("same.out")},
         "--report and --summary name the same file"},
        {{"--events", "6", "--report", outputPath("events.html")}, "--report covers whole storms"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> arguments{"run", basin, "--rain", storm, "--units", "si"};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        const ProgramRun run = runVesk(arguments);
        EXPECT_EQ(run.status, 1) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(HtmlReport, CommandLineQuotedAsAShellWouldSplitIt) {
    EXPECT_EQ(shellCommandLine({"vesk", "run", "a b.csv", "it's", "--units=si", ""}),
              "vesk run 'a b.csv' 'it'\\''s' --units=si ''");
}

} // namespace
} // namespace vesk::tool
