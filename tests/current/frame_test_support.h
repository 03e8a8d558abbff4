// A fresh library for every test: the frame's state is process-wide, so each
// test starts from a closed library and closes it again.
#pragma once

#include <gtest/gtest.h>

#include "base/allocation.h"
#include "veskdll133.h"

class FreshLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        vesk::failAllocationNumber(0);
        vesk_free();
    }
    void TearDown() override {
        vesk::failAllocationNumber(0);
        vesk_free();
    }
    // Opens the library and presents this library's own version.
    static void openReady() {
        vesk_open();
        VersionStamp stamp = VESK_VERSION_STAMP_INIT;
        vesk_checkversion(&stamp);
    }
};
