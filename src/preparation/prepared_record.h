// A stored basin's parameters as preparation left them, in the host's
// record: what vesk_getbasin hands back.
#pragma once

#include "simulation/basin.h"

namespace vesk {

// The pervious loss parameters come from the RPA, the impervious storage
// from the DCIA; the RPA and SPA shares are not kept and come back 0.
BasinInput preparedRecord(const Basin &basin);

} // namespace vesk
