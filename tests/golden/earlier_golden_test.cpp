// The earlier level against its golden table (tests/golden/earlier.txt):
// every calculator call and every basin, result by result, bit for bit.
// A basin's own results, before the common hydrograph ones: eiaPct, dcif,
// rpf, rpaShare and spaShare as prepared.  Per step: the outflow, then the
// fifteen values of the step block in their order.
#include "veskdll.h"

#include "golden_table.h"

namespace {

using golden::Args;
using golden::integer;
using golden::number;
using golden::Result;

golden::Calculators earlierCalculators() {
    golden::Calculators calc;
    golden::addCommonCalculators(calc);
    const auto levelAndKey = [](auto f) { // any calling convention
        return [f](const Args &a) { return f(integer(a.at(0)), number(a.at(1)), a.at(2).c_str()); };
    };
    const auto levelOnly = [](auto f) {
        return [f](const Args &a) { return f(integer(a.at(0)), number(a.at(1))); };
    };
    calc["vesk_DCIFgetParam"] = levelAndKey(vesk_DCIFgetParam);
    calc["vesk_RPFgetParam"] = levelAndKey(vesk_RPFgetParam);
    calc["vesk_getEIAParam"] = levelAndKey(vesk_getEIAParam);
    calc["vesk_calcDCIF"] = levelOnly(vesk_calcDCIF);
    calc["vesk_calcRPF"] = levelOnly(vesk_calcRPF);
    calc["vesk_calcUIF"] = levelOnly(vesk_calcUIF);
    calc["vesk_calcSPF"] = levelOnly(vesk_calcSPF);
    calc["vesk_calcEIA"] = levelOnly(vesk_calcEIA);
    calc["vesk_calcCT"] = [](const Args &a) { return vesk_calcCT(number(a.at(0)), number(a.at(1))); };
    calc["vesk_calcCP"] = [](const Args &a) { return vesk_calcCP(number(a.at(0)), number(a.at(1))); };
    return calc;
}

std::vector<Result> basinResults(const golden::Case &c, const std::vector<double> &storm) {
    const char *name = "golden";
    vesk_free();
    vesk_open();
    BasinInput record{};
    for (const std::string &field : c.args) {
        const std::size_t eq = field.find('=');
        if (!golden::setCommonField(record, field.substr(0, eq), field.substr(eq + 1)))
            ADD_FAILURE() << "no field " << field;
    }
    vesk_addbasin(&record, name);
    EXPECT_EQ(vesk_geterror(), VESK_OK) << c.name;
    BasinInput prepared{};
    vesk_getbasin(name, &prepared);
    std::vector<Result> out = {{"eiaPct", prepared.eiaPct}, {"dcif", prepared.dcif}, {"rpf", prepared.rpf},
                               {"rpaShare", prepared.rpaShare}, {"spaShare", prepared.spaShare}};
    golden::addHydrograph(out, prepared, name);

    static const char *const kFields[] = {
        "clock", "infiltration", "reserved", "spaStorage", "spaOverflow", "spaExcess", "runOn", "rpaStorage",
        "rpaOverflow", "rpaExcess", "imperviousStorage", "imperviousLoss", "imperviousExcess", "dciaExcess",
        "stepExcess"};
    static_assert(sizeof(StepState) == sizeof kFields / sizeof kFields[0] * sizeof(double));
    for (std::size_t k = 0; k < storm.size(); ++k) {
        const std::string step = "step " + std::to_string(k + 1) + " ";
        out.push_back({step + "outflow", vesk_execute(name, storm[k], 0)});
        StepState s{};
        vesk_getbasin_precip(name, &s);
        double values[sizeof kFields / sizeof kFields[0]];
        std::memcpy(values, &s, sizeof s);
        for (std::size_t f = 0; f < sizeof kFields / sizeof kFields[0]; ++f)
            out.push_back({step + kFields[f], values[f]});
    }
    EXPECT_EQ(vesk_geterror(), VESK_OK) << c.name;
    vesk_free();
    return out;
}

TEST(GoldenTable, EarlierLevelReproducesEveryBit) {
    golden::expectTableReproduced("earlier.txt", earlierCalculators(), basinResults);
}

} // namespace
