#include "earlier/prepared_record.h"

namespace vesk::earlier {

::BasinInput preparedRecord(const Basin &basin) {
    ::BasinInput out{};
    out.area = basin.area;
    out.length = basin.length;
    out.centroidLength = basin.centroidLength;
    out.imperviousPct = basin.imperviousPct;
    out.eiaPct = basin.eiaPct;
    out.slope = basin.slope;
    out.perviousDepressionStorage = basin.perviousDepressionStorage;
    out.imperviousDepressionStorage = basin.imperviousDepressionStorage;
    out.initialInfiltrationRate = basin.initialInfiltrationRate;
    out.finalInfiltrationRate = basin.finalInfiltrationRate;
    out.infiltrationDecay = basin.infiltrationDecay;
    out.disconnectionLevel = basin.disconnectionLevel;
    out.dcif = basin.dcif;
    out.rpf = basin.rpf;
    out.rpaShare = basin.rpaShare;
    out.spaShare = basin.spaShare;
    out.uhPeakTime = basin.uh.uhPeakTime;
    out.unitPeakRate = basin.uh.unitPeakRate;
    out.uhPeakRate = basin.uh.uhPeakRate;
    out.unitRunoffVolume = basin.uh.unitRunoffVolume;
    out.shape = basin.shape;
    return out;
}

} // namespace vesk::earlier
