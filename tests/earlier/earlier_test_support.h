// A fresh earlier-level library for every test: the frame's state is
// process-wide, so each test starts from a closed library and closes it again.
#pragma once

#include <gtest/gtest.h>

#include "base/allocation.h"
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"
#include "veskdll.h"

class EarlierLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        vesk::failAllocationNumber(0);
        vesk_free();
    }
    void TearDown() override {
        vesk::failAllocationNumber(0);
        vesk_free();
    }

    // Half impervious, level 0, the first worked unit hydrograph (ct 0.1,
    // cp 0.5, steps of 5 minutes), Horton 5 -> 1 in/h.
    static BasinInput sampleRecord() {
        BasinInput record{};
        record.area = 1.0;
        record.length = 2.0;
        record.centroidLength = 1.0;
        record.imperviousPct = 50.0;
        record.slope = 0.02;
        record.perviousDepressionStorage = 0.1;
        record.imperviousDepressionStorage = 0.05;
        record.initialInfiltrationRate = 5.0;
        record.finalInfiltrationRate = 1.0;
        record.infiltrationDecay = 0.0018;
        record.dcif = 0.5;
        record.rpf = 0.5;
        record.shape.ct = 0.1;
        record.shape.cp = 0.5;
        record.shape.uhTimeStep = 5;
        return record;
    }

    // The stored basin itself, for what no export returns.
    static const vesk::Basin *stored(const char *name) {
        return vesk::lookupBasin(vesk::libraryState().registry, name).basin;
    }
};
