#include "fraction_requests.h"

#include "number_text.h"
#include "veskdll133.h"

namespace vesk::tool {

namespace {

// The DCIF relation is read at level 1 or 2 when the basin says so and at
// level 0 for any other value; the RPF relation takes the level as given.
int32_t dcifLevel(int32_t disconnectionLevel) {
    return disconnectionLevel == 1 || disconnectionLevel == 2 ? disconnectionLevel : 0;
}

std::string note(const BasinSource &source, const char *fraction, double requested, int32_t level, double value) {
    return "basin " + source.name + ": " + fraction + " " + exactText(requested) + " in " + source.path +
           " asks for the relation's value: level " + std::to_string(level) + " at " +
           exactText(source.record.imperviousPct) + " % impervious gives " + fixedText(value, 4) + ".";
}

} // namespace

std::vector<std::string> fillFractionRequests(BasinSource &source) {
    std::vector<std::string> notes;
    BasinInput &record = source.record;
    if (record.dcif < 0.0) {
        const int32_t level = dcifLevel(record.disconnectionLevel);
        const double value = vesk_calcDCIF(level, record.imperviousPct);
        notes.push_back(note(source, "dcif", record.dcif, level, value));
        record.dcif = value;
    }
    if (record.rpf < 0.0) {
        const int32_t level = record.disconnectionLevel;
        const double value = vesk_calcRPF(level, record.imperviousPct);
        notes.push_back(note(source, "rpf", record.rpf, level, value));
        record.rpf = value;
    }
    return notes;
}

} // namespace vesk::tool
