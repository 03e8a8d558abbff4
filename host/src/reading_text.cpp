#include "reading_text.h"

#include "basin_fields.h"
#include "civil_time.h"
#include "number_text.h"

namespace vesk::host {

void writeReading(std::ostream &out, const Storm &storm) {
    out << "step " << storm.stepMinutes << '\n'
        << "unit " << unitName(storm.given == RainQuantity::Intensity ? Quantity::Rate : Quantity::Depth, storm.units)
        << '\n';
    if (storm.start) out << "start " << dateTimeText(*storm.start) << '\n';
    if (!storm.gaps.empty()) out << "filled " << storm.filledSteps() << '\n';
    out << "steps " << storm.depths.size() << '\n'
        << "depths";
    for (double depth : storm.depths) out << ' ' << exactText(depth);
    out << '\n';
}

void writeReading(std::ostream &out, const StormSet &storms) {
    for (const NamedStorm &storm : storms.storms) {
        if (storms.named) out << "storm " << storm.name << '\n';
        writeReading(out, storm.storm);
    }
}

void writeReading(std::ostream &out, const std::vector<BasinSource> &basins) {
    std::size_t count = 0;
    const BasinField *const *fields = positionalFields(count);
    for (const BasinSource &source : basins) {
        out << "basin " << source.name << (source.uhTimeStepGiven ? " uh-step-given" : " uh-step-left") << '\n';
        for (std::size_t i = 0; i < count; ++i)
            out << fields[i]->name << ' ' << exactText(fields[i]->load(source.record)) << '\n';
        out << "eiaPct " << exactText(source.record.eiaPct) << '\n';
    }
}

} // namespace vesk::host
