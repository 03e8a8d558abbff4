// A fresh earlier-level library for every test: the frame's state is
// process-wide, so each test starts from a closed library and closes it again.
#pragma once

#include <gtest/gtest.h>

#include "frame/allocation.h"
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
};
