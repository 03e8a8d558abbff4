// The coefficient tables of the DCIF and RPF relations: for each of ten
// imperviousness bands and each disconnection level 0..2 a slope `a` (applied
// to imperviousPct / 100) and an intercept `b`.  The values are 32-bit floats
// and are widened to double where they are used, so 0.6 reads back as
// 0.6000000238418579.
#pragma once

namespace vesk {

struct FractionLine {
    float a; // slope per unit of imperviousness (imperviousPct / 100)
    float b; // intercept
};

inline constexpr int kFractionBands = 10;
inline constexpr int kDisconnectionLevels = 3;

using FractionTable = FractionLine[kFractionBands][kDisconnectionLevels];

// ---------------------------------------------------------------------------
// Directly connected impervious fraction (DCIF).  The last band's intercepts
// are 0.59999, 0.19999 and -1.00001 rather than 0.6, 0.2 and -1.0: at 100 %
// imperviousness every level gives 0.99999, so the unconnected share never
// drops to nothing.
// ---------------------------------------------------------------------------
inline constexpr FractionTable kDcifTable = {
    //  band         level 0              level 1              level 2
    /*  0 -  <10 */ {{2.0f, 0.0f},       {1.1f, 0.0f},        {0.5f, 0.0f}},
    /* 10 -  <20 */ {{2.0f, 0.0f},       {1.2f, -0.01f},      {0.5f, 0.0f}},
    /* 20 -  <30 */ {{2.0f, 0.0f},       {1.4f, -0.05f},      {0.5f, 0.0f}},
    /* 30 -  <40 */ {{2.0f, 0.0f},       {1.3f, -0.02f},      {0.5f, 0.0f}},
    /* 40 -  <50 */ {{0.5f, 0.6f},       {1.1f, 0.06f},       {0.5f, 0.0f}},
    /* 50 -  <60 */ {{0.5f, 0.6f},       {0.9f, 0.16f},       {0.5f, 0.0f}},
    /* 60 -  <70 */ {{0.2f, 0.78f},      {0.7f, 0.28f},       {1.0f, -0.3f}},
    /* 70 -  <80 */ {{0.2f, 0.78f},      {0.8f, 0.21f},       {2.0f, -1.0f}},
    /* 80 -  <90 */ {{0.2f, 0.78f},      {0.7f, 0.29f},       {2.0f, -1.0f}},
    /* 90 - 100  */ {{0.4f, 0.59999f},   {0.8f, 0.19999f},    {2.0f, -1.00001f}},
};

// ---------------------------------------------------------------------------
// Receiving pervious fraction (RPF).
// ---------------------------------------------------------------------------
inline constexpr FractionTable kRpfTable = {
    //  band         level 0              level 1              level 2
    /*  0 -  <10 */ {{1.0f, 0.0f},       {2.0f, 0.0f},        {3.0f, 0.0f}},
    /* 10 -  <20 */ {{0.3f, 0.07f},      {0.4f, 0.16f},       {0.6f, 0.24f}},
    /* 20 -  <30 */ {{0.4f, 0.05f},      {0.5f, 0.14f},       {0.5f, 0.26f}},
    /* 30 -  <40 */ {{0.3f, 0.08f},      {0.4f, 0.17f},       {0.6f, 0.23f}},
    /* 40 -  <50 */ {{0.3f, 0.08f},      {0.5f, 0.13f},       {0.5f, 0.27f}},
    /* 50 -  <60 */ {{0.4f, 0.03f},      {0.4f, 0.18f},       {0.6f, 0.22f}},
    /* 60 -  <70 */ {{0.3f, 0.09f},      {0.5f, 0.12f},       {0.5f, 0.28f}},
    /* 70 -  <80 */ {{0.3f, 0.09f},      {0.4f, 0.19f},       {0.6f, 0.21f}},
    /* 80 -  <90 */ {{0.4f, 0.01f},      {0.5f, 0.11f},       {0.5f, 0.29f}},
    /* 90 - 100  */ {{0.3f, 0.1f},       {0.4f, 0.2f},        {0.6f, 0.2f}},
};

} // namespace vesk
