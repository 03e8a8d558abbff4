// The current level against its golden table (tests/golden/current.txt):
// every calculator call and every basin, result by result, bit for bit.
// A basin's own results, before the common hydrograph ones: imperviousPct,
// dcif and rpf as prepared.  Per step: the outflow, stepExcess, then for DCIA,
// UIA, SPA and RPA infiltration, depressionStorage, excessLoss and excess,
// then the RPA's waterInput (rain plus run-on).  Last: the peak time.
#include "veskdll133.h"

#include "golden_table.h"

namespace {

using golden::Args;
using golden::integer;
using golden::number;
using golden::Result;

golden::Calculators currentCalculators() {
    golden::Calculators calc;
    golden::addCommonCalculators(calc);
    calc["vesk_DCIFgetParam"] = [](const Args &a) {
        return vesk_DCIFgetParam(integer(a.at(0)), number(a.at(1)), a.at(2).c_str());
    };
    calc["vesk_RPFgetParam"] = [](const Args &a) {
        return vesk_RPFgetParam(integer(a.at(0)), number(a.at(1)), a.at(2).c_str());
    };
    calc["vesk_calcDCIF"] = [](const Args &a) { return vesk_calcDCIF(integer(a.at(0)), number(a.at(1))); };
    calc["vesk_calcRPF"] = [](const Args &a) { return vesk_calcRPF(integer(a.at(0)), number(a.at(1))); };
    calc["vesk_calcUIF"] = [](const Args &a) { return vesk_calcUIF(number(a.at(0))); };
    calc["vesk_calcSPF"] = [](const Args &a) { return vesk_calcSPF(number(a.at(0))); };
    calc["vesk_calcEIA"] = [](const Args &a) {
        return vesk_calcEIA(number(a.at(0)), number(a.at(1)), number(a.at(2)), number(a.at(3)), number(a.at(4)));
    };
    calc["vesk_calcCT"] = [](const Args &a) { return vesk_calcCT(number(a.at(0)), number(a.at(1))); };
    calc["vesk_calcCP"] = [](const Args &a) {
        return vesk_calcCP(number(a.at(0)), number(a.at(1)), number(a.at(2)));
    };
    return calc;
}

BasinInput basinRecord(const Args &fields) {
    BasinInput r{};
    for (const std::string &field : fields) {
        const std::size_t eq = field.find('=');
        const std::string name = field.substr(0, eq), value = field.substr(eq + 1);
        if (name == "timeStep") r.timeStep = number(value);
        else if (!golden::setCommonField(r, name, value)) ADD_FAILURE() << "no field " << name;
    }
    return r;
}

void addLoss(std::vector<Result> &out, const char *part, const LossState &s) {
    const std::string p(part);
    out.insert(out.end(), {{p + " infiltration", s.infiltration}, {p + " depressionStorage", s.depressionStorage},
                           {p + " excessLoss", s.excessLoss}, {p + " excess", s.excess}});
}

std::vector<Result> basinResults(const golden::Case &c, const std::vector<double> &storm) {
    const char *name = "golden";
    vesk_free();
    vesk_open();
    const VersionStamp stamp = VESK_VERSION_STAMP_INIT;
    vesk_checkversion(&stamp);
    BasinInput record = basinRecord(c.args);
    vesk_addbasin(&record, name);
    EXPECT_EQ(vesk_geterror(), VESK_OK) << c.name;
    BasinInput prepared{};
    vesk_getbasin(name, &prepared);
    std::vector<Result> out = {
        {"imperviousPct", prepared.imperviousPct}, {"dcif", prepared.dcif}, {"rpf", prepared.rpf}};
    golden::addHydrograph(out, prepared, name);

    const int32_t timeStep = static_cast<int32_t>(record.timeStep);
    for (std::size_t k = 0; k < storm.size(); ++k) {
        const std::string step = "step " + std::to_string(k + 1) + " ";
        const int32_t target = static_cast<int32_t>(k + 1) * timeStep;
        out.push_back({step + "outflow", vesk_execute(name, storm[k], target)});
        PrecipState s{};
        vesk_getbasin_precip(name, &s);
        EXPECT_EQ(s.time, target) << c.name;
        out.push_back({step + "stepExcess", s.stepExcess});
        addLoss(out, (step + "DCIA").c_str(), s.dcia);
        addLoss(out, (step + "UIA").c_str(), s.uia);
        addLoss(out, (step + "SPA").c_str(), s.spa);
        addLoss(out, (step + "RPA").c_str(), s.rpa);
        out.push_back({step + "RPA waterInput", s.rpa.waterInput});
    }
    vesk_getbasin(name, &prepared);
    out.push_back({"peakTime", prepared.peakTime});
    EXPECT_EQ(vesk_geterror(), VESK_OK) << c.name;
    vesk_free();
    return out;
}

TEST(GoldenTable, CurrentLevelReproducesEveryBit) {
    golden::expectTableReproduced("current.txt", currentCalculators(), basinResults);
}

} // namespace
