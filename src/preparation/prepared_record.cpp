#include "preparation/prepared_record.h"

namespace vesk {

BasinInput preparedRecord(const Basin &basin) {
    BasinInput out{};
    out.area = basin.area;
    out.length = basin.length;
    out.centroidLength = basin.centroidLength;
    out.imperviousPct = basin.imperviousPct;
    out.eiaPct = basin.eiaPct;
    out.slope = basin.slope;
    out.timeStep = static_cast<double>(basin.precip.timeStep);
    out.perviousDepressionStorage = basin.rpa.maxDepressionStorage;
    out.imperviousDepressionStorage = basin.dcia.maxDepressionStorage;
    out.initialInfiltrationRate = basin.rpa.initialInfiltrationRate;
    out.finalInfiltrationRate = basin.rpa.finalInfiltrationRate;
    out.infiltrationDecay = basin.rpa.infiltrationDecay;
    out.disconnectionLevel = basin.disconnectionLevel;
    out.dcif = basin.dcif;
    out.rpf = basin.rpf;
    out.uhPeakTime = basin.uh.uhPeakTime;
    out.peakTime = basin.peakTime;
    out.unitPeakRate = basin.uh.unitPeakRate;
    out.uhPeakRate = basin.uh.uhPeakRate;
    out.unitRunoffVolume = basin.uh.unitRunoffVolume;
    out.shape = basin.shape;
    return out;
}

} // namespace vesk
