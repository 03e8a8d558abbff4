/*
 * veskdll.h - the interface of the veskdll runoff library (earlier level).
 *
 * The library turns catchment ("basin") parameters and rainfall into runoff
 * hydrographs.  A host opens the library, adds basins by name, feeds each
 * basin one rainfall depth per call and reads the outflow back.  Beside this
 * it exports twenty-six stand-alone calculators of the method's empirical
 * relations.
 *
 * Compared with the current level (veskdll133.h) this level has no version
 * handshake, coarser fraction tables, an effective imperviousness that only
 * disconnection level 2 adjusts, a 216-byte BasinInput, one lumped loss step
 * for the whole basin and a 120-byte step block.
 *
 * Everything a host needs is declared and documented here; the sources never
 * have to be read.
 *
 * Units (throughout):
 *   area ............ square miles (sq mi)
 *   length .......... miles (mi); the flow-path and flow-time calculators
 *                     take feet (ft) and feet per second (ft/s)
 *   depth ........... inches (in)
 *   infiltration .... inches per hour (in/h); the Horton decay is per second
 *   time ............ minutes (min)
 *   flow ............ cubic feet per second (cfs)
 *   volume .......... acre-feet (acre-ft) unless stated otherwise
 *
 * Calling rules:
 *   - One thread at a time.  The library holds one registry of basins and one
 *     error code per process and guards neither.
 *   - Every failure is reported only through the error code (vesk_geterror).
 *     A new failure replaces the pending code; success never clears it.  Only
 *     vesk_free clears it (to VESK_OK).
 *   - While the code is non-zero, vesk_addbasin, vesk_loadandadd,
 *     vesk_execute and vesk_getbasin do nothing (each says so below).  There
 *     is no version handshake: right after vesk_open the code is VESK_OK and
 *     basins can be added at once.
 *   - A null pointer (a name, record, destination or path) sets the export's
 *     code only when no code is pending; a pending code stays.
 *   - Basin names are NUL-terminated byte strings compared without regard to
 *     ASCII letter case.
 *   - The calculators touch no state: they neither read nor set the error code
 *     and may be called at any time, before vesk_open too.
 *   - The library keeps no reference to any record whose address it is given,
 *     and never writes into the record given to vesk_addbasin.
 *
 * Calling convention: on 32-bit Windows every export is __stdcall and bound by
 * its undecorated name; elsewhere it is the platform's C convention.
 *
 * This header compiles as C (C11 or later) and as C++.  It cannot be combined
 * with veskdll133.h (the current level) in one translation unit: both declare
 * the same names with other records.
 */
#ifndef VESKDLL_H
#define VESKDLL_H

#include <stddef.h>
#include <stdint.h>

/* ------------------------------------------------------------------------ */
/* Version of the libraries this header belongs to (both levels' headers    */
/* carry the same numbers).                                                  */
/* ------------------------------------------------------------------------ */

/** The four numbers of the version major.minor.release.build (1.3.3.6 is
 *  major 1, minor 3, release 3, build 6). */
#define VESK_VERSION_MAJOR 1
#define VESK_VERSION_MINOR 3
#define VESK_VERSION_RELEASE 3
#define VESK_VERSION_BUILD 6

/** An initializer of the current level's VersionStamp (veskdll133.h) in the
 *  order of its fields, {major, minor, build, release}.  This level has no
 *  version handshake and no VersionStamp of its own. */
#define VESK_VERSION_STAMP_INIT \
    { VESK_VERSION_MAJOR, VESK_VERSION_MINOR, VESK_VERSION_BUILD, VESK_VERSION_RELEASE }

/* Both headers define these the same way and only when not yet defined. */
#ifndef VESK_CALL
#  if defined(_WIN32)
#    define VESK_CALL __stdcall
#  else
#    define VESK_CALL
#  endif
#endif

#ifndef VESK_API
#  if defined(_WIN32)
#    define VESK_API
#  else
#    define VESK_API __attribute__((visibility("default")))
#  endif
#endif

#ifndef VESK_STATIC_ASSERT
#  ifdef __cplusplus
#    define VESK_STATIC_ASSERT(condition, message) static_assert(condition, message)
#  else
#    define VESK_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#  endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------ */
/* Error codes (vesk_geterror).  The library sets no other value.            */
/* ------------------------------------------------------------------------ */

/** No failure pending. */
#define VESK_OK 0
/** A name lookup found no basin under that name. */
#define VESK_ERR_BASIN_NOT_FOUND 1
/** The basin is refused: its unit hydrograph cannot be built, or its record
 *  holds a value the library does not accept (see vesk_addbasin). */
#define VESK_ERR_UH_FIT 2
/** A memory allocation failed. */
#define VESK_ERR_NO_MEMORY 3
/** The basin input file cannot be opened or holds no basin name. */
#define VESK_ERR_FILE_OPEN 4
/** No registry (before vesk_open, after vesk_free, or after a failed
 *  vesk_open), or a null name, record or destination address while no other
 *  code is pending. */
#define VESK_ERR_NULL 5
/** vesk_addbasin was given a name that is already stored. */
#define VESK_ERR_DUPLICATE_BASIN 6

/* ------------------------------------------------------------------------ */
/* Records crossing the boundary.  Little-endian, doubles 8-byte aligned,    */
/* integers signed 32-bit.  Gaps carry no value.                             */
/* ------------------------------------------------------------------------ */

/** Shape of the synthetic unit hydrograph (56 bytes), the same record as at
 *  the current level.  Zero or negative values ask the library to derive the
 *  value; vesk_getbasin returns the values actually used. */
typedef struct ShapeParameters {
    double ct;             /**< time-to-peak coefficient; <= 0: derive from the effective imperviousness and area */
    double cp;             /**< peak-rate coefficient; <= 0: derive from the effective imperviousness and area */
    double width50;        /**< min, width at 50 % of the peak; <= 0 in either width: derive both */
    double width75;        /**< min, width at 75 % of the peak */
    double rise50Fraction; /**< share of width50 before the peak; <= 0 in either fraction: 0.35 and 0.45 */
    double rise75Fraction; /**< share of width75 before the peak */
    int32_t uhTimeStep;    /**< min, ordinate spacing and duration of the unit rain, and at this level
                                also the simulation step; must be >= 1 */
    int32_t gap;           /**< no value */
} ShapeParameters;

/** Parameters of one basin (216 bytes): filled by the host for vesk_addbasin,
 *  filled by the library in vesk_getbasin.  Unlike the current level's record
 *  it has no timeStep (the basin steps by shape.uhTimeStep) and no peakTime. */
typedef struct BasinInput {
    double area;                        /**< sq mi, total basin area */
    double length;                      /**< mi, first of the two lengths whose product sets the time to peak */
    double centroidLength;              /**< mi, second length of that product */
    double imperviousPct;               /**< %, 0..100 (outside: refused) */
    double eiaPct;                      /**< %, effective imperviousness; ignored on input, computed by vesk_addbasin */
    double slope;                       /**< ft/ft, must be > 0 */
    double perviousDepressionStorage;   /**< in, depression-storage capacity of the pervious part; >= 0 */
    double imperviousDepressionStorage; /**< in, depression-storage capacity of the impervious part; >= 0 */
    double initialInfiltrationRate;     /**< in/h, Horton initial rate (pervious part); >= 0 */
    double finalInfiltrationRate;       /**< in/h, Horton final rate (pervious part); >= 0 */
    double infiltrationDecay;           /**< 1/s, Horton decay coefficient, >= 0; 0: nothing infiltrates */
    int32_t disconnectionLevel;         /**< 0, 1 or 2: selects the default DCIF and RPF lines; 2 also
                                             adjusts the effective imperviousness */
    int32_t gap;                        /**< no value */
    double dcif;                        /**< directly connected share of the impervious area; <= 0: derive;
                                             above 1: 1 */
    double rpf;                         /**< receiving share of the pervious area; <= 0: derive; above 1: 1 */
    double rpaShare;                    /**< ignored on input; output: (1 - c) * rpf with c = imperviousPct * 0.01,
                                             the RPA's share of the basin (0.001 when dcif is 1) */
    double spaShare;                    /**< ignored on input; output: (1 - c) * (1 - rpf) */
    double uhPeakTime;                  /**< output, min from the start of the unit rain to the unit-hydrograph peak */
    double unitPeakRate;                /**< output, cfs per sq mi, unit-hydrograph peak per square mile */
    double uhPeakRate;                  /**< output, cfs per inch, unit-hydrograph peak of the whole basin */
    double unitRunoffVolume;            /**< output, acre-ft, volume of one inch of runoff over the basin */
    ShapeParameters shape;              /**< unit-hydrograph shape inputs (derived values on output) */
} BasinInput;

/** State of a basin's latest step (120 bytes, fifteen doubles), copied out by
 *  vesk_getbasin_precip.  Depths are inches; the three "Excess" shares and
 *  runOn are depths over the whole basin.  All zero before the first step. */
typedef struct StepState {
    double clock;             /**< min at the end of the latest step (steps of shape.uhTimeStep) */
    double infiltration;      /**< depth infiltrated on the pervious part in the step */
    double reserved;          /**< always 0 */
    double spaStorage;        /**< depression storage of the separate pervious part */
    double spaOverflow;       /**< overflow of that storage in the step */
    double spaExcess;         /**< SPA contribution to stepExcess */
    double runOn;             /**< run-on from the unconnected impervious part */
    double rpaStorage;        /**< depression storage of the receiving pervious part */
    double rpaOverflow;       /**< overflow of that storage in the step */
    double rpaExcess;         /**< RPA contribution to stepExcess */
    double imperviousStorage; /**< depression storage shared by the two impervious parts */
    double imperviousLoss;    /**< 5 % of the impervious overflow */
    double imperviousExcess;  /**< the impervious overflow less that 5 % */
    double dciaExcess;        /**< DCIA contribution to stepExcess */
    double stepExcess;        /**< excess depth of the step over the whole basin, convolved into the outflow */
} StepState;

VESK_STATIC_ASSERT(sizeof(ShapeParameters) == 56, "ShapeParameters is 56 bytes");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, ct) == 0, "ShapeParameters.ct");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, cp) == 8, "ShapeParameters.cp");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, width50) == 16, "ShapeParameters.width50");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, width75) == 24, "ShapeParameters.width75");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, rise50Fraction) == 32, "ShapeParameters.rise50Fraction");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, rise75Fraction) == 40, "ShapeParameters.rise75Fraction");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, uhTimeStep) == 48, "ShapeParameters.uhTimeStep");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, gap) == 52, "ShapeParameters.gap");

VESK_STATIC_ASSERT(sizeof(BasinInput) == 216, "BasinInput is 216 bytes");
VESK_STATIC_ASSERT(offsetof(BasinInput, area) == 0, "BasinInput.area");
VESK_STATIC_ASSERT(offsetof(BasinInput, length) == 8, "BasinInput.length");
VESK_STATIC_ASSERT(offsetof(BasinInput, centroidLength) == 16, "BasinInput.centroidLength");
VESK_STATIC_ASSERT(offsetof(BasinInput, imperviousPct) == 24, "BasinInput.imperviousPct");
VESK_STATIC_ASSERT(offsetof(BasinInput, eiaPct) == 32, "BasinInput.eiaPct");
VESK_STATIC_ASSERT(offsetof(BasinInput, slope) == 40, "BasinInput.slope");
VESK_STATIC_ASSERT(offsetof(BasinInput, perviousDepressionStorage) == 48, "BasinInput.perviousDepressionStorage");
VESK_STATIC_ASSERT(offsetof(BasinInput, imperviousDepressionStorage) == 56, "BasinInput.imperviousDepressionStorage");
VESK_STATIC_ASSERT(offsetof(BasinInput, initialInfiltrationRate) == 64, "BasinInput.initialInfiltrationRate");
VESK_STATIC_ASSERT(offsetof(BasinInput, finalInfiltrationRate) == 72, "BasinInput.finalInfiltrationRate");
VESK_STATIC_ASSERT(offsetof(BasinInput, infiltrationDecay) == 80, "BasinInput.infiltrationDecay");
VESK_STATIC_ASSERT(offsetof(BasinInput, disconnectionLevel) == 88, "BasinInput.disconnectionLevel");
VESK_STATIC_ASSERT(offsetof(BasinInput, gap) == 92, "BasinInput.gap");
VESK_STATIC_ASSERT(offsetof(BasinInput, dcif) == 96, "BasinInput.dcif");
VESK_STATIC_ASSERT(offsetof(BasinInput, rpf) == 104, "BasinInput.rpf");
VESK_STATIC_ASSERT(offsetof(BasinInput, rpaShare) == 112, "BasinInput.rpaShare");
VESK_STATIC_ASSERT(offsetof(BasinInput, spaShare) == 120, "BasinInput.spaShare");
VESK_STATIC_ASSERT(offsetof(BasinInput, uhPeakTime) == 128, "BasinInput.uhPeakTime");
VESK_STATIC_ASSERT(offsetof(BasinInput, unitPeakRate) == 136, "BasinInput.unitPeakRate");
VESK_STATIC_ASSERT(offsetof(BasinInput, uhPeakRate) == 144, "BasinInput.uhPeakRate");
VESK_STATIC_ASSERT(offsetof(BasinInput, unitRunoffVolume) == 152, "BasinInput.unitRunoffVolume");
VESK_STATIC_ASSERT(offsetof(BasinInput, shape) == 160, "BasinInput.shape");

VESK_STATIC_ASSERT(sizeof(StepState) == 120, "StepState is 120 bytes");
VESK_STATIC_ASSERT(offsetof(StepState, clock) == 0, "StepState.clock");
VESK_STATIC_ASSERT(offsetof(StepState, infiltration) == 8, "StepState.infiltration");
VESK_STATIC_ASSERT(offsetof(StepState, reserved) == 16, "StepState.reserved");
VESK_STATIC_ASSERT(offsetof(StepState, spaStorage) == 24, "StepState.spaStorage");
VESK_STATIC_ASSERT(offsetof(StepState, spaOverflow) == 32, "StepState.spaOverflow");
VESK_STATIC_ASSERT(offsetof(StepState, spaExcess) == 40, "StepState.spaExcess");
VESK_STATIC_ASSERT(offsetof(StepState, runOn) == 48, "StepState.runOn");
VESK_STATIC_ASSERT(offsetof(StepState, rpaStorage) == 56, "StepState.rpaStorage");
VESK_STATIC_ASSERT(offsetof(StepState, rpaOverflow) == 64, "StepState.rpaOverflow");
VESK_STATIC_ASSERT(offsetof(StepState, rpaExcess) == 72, "StepState.rpaExcess");
VESK_STATIC_ASSERT(offsetof(StepState, imperviousStorage) == 80, "StepState.imperviousStorage");
VESK_STATIC_ASSERT(offsetof(StepState, imperviousLoss) == 88, "StepState.imperviousLoss");
VESK_STATIC_ASSERT(offsetof(StepState, imperviousExcess) == 96, "StepState.imperviousExcess");
VESK_STATIC_ASSERT(offsetof(StepState, dciaExcess) == 104, "StepState.dciaExcess");
VESK_STATIC_ASSERT(offsetof(StepState, stepExcess) == 112, "StepState.stepExcess");

/* ------------------------------------------------------------------------ */
/* Library frame                                                             */
/* ------------------------------------------------------------------------ */

/** Creates a new, empty basin registry.  Sets no code: basins can be added at
 *  once.  If the registry cannot be allocated the code becomes
 *  VESK_ERR_NO_MEMORY and no registry exists.  A registry left by an earlier
 *  vesk_open without vesk_free is released first, with every basin in it. */
VESK_API void VESK_CALL vesk_open(void);

/** Releases every stored basin and the registry and sets the code to VESK_OK.
 *  Harmless without a registry. */
VESK_API void VESK_CALL vesk_free(void);

/** Returns the pending error code (VESK_OK when none) without changing it. */
VESK_API int32_t VESK_CALL vesk_geterror(void);

/* ------------------------------------------------------------------------ */
/* Basins                                                                    */
/* ------------------------------------------------------------------------ */

/** Prepares a basin from *record and stores it under name (case-insensitive).
 *  *record is only read, never written.
 *
 *  The stored basin is a copy of *record in which, with c = imperviousPct * 0.01 (not / 100):
 *    - dcif <= 0 is replaced by the level's default line (level 1: 1.25 c;
 *      level 2: 0.5 c up to 80 %, 6 c - 4.4 above; any other level: 2 c up to
 *      40 %, 0.5 c + 0.6 above), rpf <= 0 likewise (level 1: 0.625 c + 0.05
 *      up to 40 %, c - 0.1 above; level 2: 1.25 c + 0.1 up to 40 %,
 *      0.8 c + 0.28 above; any other level: 0.35 c + 0.05); then both are
 *      limited to at most 1;
 *    - rpaShare = (1 - c) * rpf (0.001 when dcif is exactly 1) and
 *      spaShare = (1 - c) * (1 - rpf);
 *    - eiaPct = vesk_calcEIA(disconnectionLevel, imperviousPct);
 *    - ct <= 0 becomes vesk_calcCT(eiaPct, area), cp <= 0 becomes
 *      vesk_calcCP(eiaPct, area);
 *    - widths, rise fractions and the four outputs come from the unit
 *      hydrograph.
 *
 *  The basin was stored exactly when the call starts and ends with
 *  vesk_geterror() == VESK_OK.  Otherwise nothing is stored and the code says
 *  why:
 *    - a code already pending: the call stops before the unit hydrograph; the
 *      code stays, also when record or name is null;
 *    - VESK_ERR_UH_FIT: the unit hydrograph cannot be built: shape.uhTimeStep
 *      below 1 minute, area <= 0 or slope <= 0 (refused before anything is
 *      allocated), a NaN or infinite number among the
 *      parameters used or derived from them (eiaPct, rpaShare, spaShare and
 *      the four outputs of *record are not read), a negative initial or
 *      final infiltration rate, decay or depression storage, an
 *      imperviousPct outside 0 to 100, a shape the method cannot fit, a
 *      hydrograph that would reach beyond 100,000 minutes (refused before
 *      anything is allocated), or one that ends within the first uhTimeStep
 *      (the step is too coarse for the basin);
 *    - VESK_ERR_NO_MEMORY, VESK_ERR_NULL (no registry, or null name or
 *      record; nothing is read through a null record),
 *      VESK_ERR_DUPLICATE_BASIN.
 *
 *  The library does not check the volume of the sampled unit hydrograph:
 *  its ordinates are the method's, and a uhTimeStep coarse against the time
 *  to peak may leave them holding clearly more or less than one inch.  A
 *  host that wants the check reads the ordinates (vesk_getuhlength,
 *  vesk_getuhordinatevalue) and the stored record (vesk_getbasin) and
 *  compares
 *      sampled = (sum of the ordinates) * shape.uhTimeStep * 60 / 43560
 *  (cfs x min per inch, in acre-ft: 60 s a minute, 43,560 sq ft an acre)
 *  with unitRunoffVolume, the acre-ft of one inch over the basin.  The vesk
 *  program and the Python package (Library.add) warn when the two differ by
 *  more than 10 %. */
VESK_API void VESK_CALL vesk_addbasin(const BasinInput *record, const char *name);

/** Reads one basin from a text file and adds it as vesk_addbasin does.
 *  The file holds a name token (at most 255 characters) and 22 numbers,
 *  separated by any white space, in this order:
 *    name
 *    area disconnectionLevel centroidLength dcif
 *    imperviousPct length rpaShare rpf
 *    spaShare slope
 *    imperviousDepressionStorage perviousDepressionStorage
 *    initialInfiltrationRate infiltrationDecay finalInfiltrationRate
 *    cp ct rise50Fraction rise75Fraction
 *    uhTimeStep width50 width75
 *  disconnectionLevel and uhTimeStep are integers.  A value that is not a
 *  number stops the reading: it and every later value keep their defaults,
 *  which are 1.0 for area, length and centroidLength and 0 for all others
 *  (so a file that stops before uhTimeStep gives VESK_ERR_UH_FIT).
 *  rpaShare and spaShare are read and then replaced by preparation.
 *  VESK_ERR_FILE_OPEN when path is null, the file cannot be opened, or it
 *  holds no name; nothing is added then.  A null path leaves a pending code
 *  as it is. */
VESK_API void VESK_CALL vesk_loadandadd(const char *path);

/** Takes exactly one step of the basin, shape.uhTimeStep minutes long, with
 *  rainDepth (inches) and returns that step's outflow in cfs.  The integer
 *  argument is accepted and not used: every call is one step.
 *  Returns -1.0 without stepping when the lookup fails (the code becomes
 *  VESK_ERR_BASIN_NOT_FOUND, VESK_ERR_NULL or VESK_ERR_NO_MEMORY; a null name
 *  leaves a pending code as it is), when any code is pending, or when
 *  rainDepth is below 0 or above 1,000 inches (NaN and infinity included; 0
 *  and 1,000 are taken; the code is then left as it is and the basin
 *  unchanged). */
VESK_API double VESK_CALL vesk_execute(const char *name, double rainDepth, int32_t unused);

/** Overwrites all 216 bytes of *out with the stored basin's parameters as
 *  prepared: derived dcif, rpf, ct, cp, widths and fractions in place of the
 *  requests for them, the computed eiaPct, rpaShare and spaShare, and the four
 *  outputs.  Writes nothing when the lookup fails, when any code is pending,
 *  or when out is null (code VESK_ERR_NULL).  A null name or out leaves a
 *  pending code as it is. */
VESK_API void VESK_CALL vesk_getbasin(const char *name, BasinInput *out);

/** Copies the basin's 120-byte StepState (its latest step) into *out.  Not
 *  gated: answers while a code is pending.  Writes nothing when the lookup
 *  fails or when out is null (code VESK_ERR_NULL).  A null name or out leaves
 *  a pending code as it is. */
VESK_API void VESK_CALL vesk_getbasin_precip(const char *name, StepState *out);

/** Returns the number of unit-hydrograph ordinates of the basin, or -1 when
 *  the lookup fails (which sets its code; a null name leaves a pending code
 *  as it is).  Answers whatever code is pending. */
VESK_API int32_t VESK_CALL vesk_getuhlength(const char *name);

/** Returns unit-hydrograph ordinate `index` in cfs per inch of excess;
 *  ordinate 0 lies one uhTimeStep after the start of the unit rain.  0.0 for
 *  an index outside 0 .. length-1; -1.0 when the lookup fails (which sets its
 *  code; a null name leaves a pending code as it is).  Answers whatever code
 *  is pending. */
VESK_API double VESK_CALL vesk_getuhordinatevalue(const char *name, int32_t index);

/* ------------------------------------------------------------------------ */
/* Calculators: impervious fractions (DCIF, UIF, RPF, SPF) and the effective  */
/* impervious area.  The tables hold 32-bit floats, returned widened.  Keys  */
/* and soil groups: only the first character counts; a null pointer is read  */
/* as the empty string.  Bands have no lower or upper limit: imperviousPct   */
/* below 0 falls in a level's first band, above 100 in its last.             */
/* ------------------------------------------------------------------------ */

/** DCIF table coefficient, key "a" slope, "b" intercept, for level 0..2 and
 *  the band of imperviousPct: level 0 below 40 (2, 0), 40 to below 80
 *  (0.5, 0.6), from 80 (0, 1); level 1 below 80 (1.25, 0), from 80 (0, 1);
 *  level 2 below 80 (0.5, 0), 80 to below 90 (6, -4.4), from 90 (0, 1).
 *  0 for any other key or level. */
VESK_API double VESK_CALL vesk_DCIFgetParam(int32_t level, double imperviousPct, const char *key);

/** RPF table coefficient, as vesk_DCIFgetParam: level 0 (0.35, 0.05)
 *  throughout; level 1 below 40 (0.625, 0.05), from 40 (1, -0.1); level 2
 *  below 40 (1.25, 0.1), 40 to below 90 (0.8, 0.28), from 90 (0, 1). */
VESK_API double VESK_CALL vesk_RPFgetParam(int32_t level, double imperviousPct, const char *key);

/** Directly connected impervious fraction b + imperviousPct * 0.01 * a.  No
 *  floor and no upper limit; 0 for a level outside 0..2. */
VESK_API double VESK_CALL vesk_calcDCIF(int32_t level, double imperviousPct);

/** Receiving pervious fraction, as vesk_calcDCIF with the RPF table. */
VESK_API double VESK_CALL vesk_calcRPF(int32_t level, double imperviousPct);

/** Unconnected impervious fraction 1 - vesk_calcDCIF(level, imperviousPct);
 *  no floor (exactly 0 where DCIF is 1). */
VESK_API double VESK_CALL vesk_calcUIF(int32_t level, double imperviousPct);

/** Separate pervious fraction 1 - vesk_calcRPF(level, imperviousPct); no
 *  floor. */
VESK_API double VESK_CALL vesk_calcSPF(int32_t level, double imperviousPct);

/** Effective impervious area in % of the basin.  Level 2:
 *  ((b + a * imperviousPct) + imperviousPct) * 0.5 with a and b from
 *  vesk_getEIAParam (a multiplies the percentage itself); 43.575 at 50 %.
 *  Any other level: imperviousPct unchanged.  No limit or range check. */
VESK_API double VESK_CALL vesk_calcEIA(int32_t level, double imperviousPct);

/** Coefficient of the effective impervious area line, level 2 only: key "a"
 *  slope, "b" intercept for imperviousPct below 20 (0.1, 3), 20 to below 30
 *  (0.7, -7), from 30 (1.243, -25).  0 for any other level (whatever the key)
 *  or key. */
VESK_API double VESK_CALL vesk_getEIAParam(int32_t level, double imperviousPct, const char *key);

/* ------------------------------------------------------------------------ */
/* Calculators: peaking coefficients CT and CP                               */
/* ------------------------------------------------------------------------ */

/** CT quadratic coefficient for the band of imperviousPct (below 10, 10 to
 *  below 40, 40 and above): key "a" (square), "b" (linear), "c" (constant);
 *  0 for any other key. */
VESK_API double VESK_CALL vesk_CTgetParam(double imperviousPct, const char *key);

/** Time-to-peak coefficient from the imperviousness (%), uncorrected. */
VESK_API double VESK_CALL vesk_calcCT_Cutoff(double imperviousPct);

/** Time-to-peak coefficient of a basin: CT = vesk_calcCT_Cutoff(imperviousPct),
 *  corrected for basins under 0.25 sq mi to area^-0.31 * CT * 0.65. */
VESK_API double VESK_CALL vesk_calcCT(double imperviousPct, double area);

/** Coefficient of the peaking parameter P for the band of imperviousPct
 *  (below 40, 40 and above): key "a", "b" or "c"; 0 for any other key.  The
 *  second argument is accepted and not used. */
VESK_API double VESK_CALL vesk_CPgetParam(double imperviousPct, double unused, const char *key);

/** Peak coefficient CP = P(imperviousPct) * area^0.15 * CT, where CT is
 *  vesk_calcCT_Cutoff(imperviousPct) WITHOUT the small-area correction,
 *  whatever the area. */
VESK_API double VESK_CALL vesk_calcCP(double imperviousPct, double area);

/* ------------------------------------------------------------------------ */
/* Calculators: runoff coefficients, lengths, travel times, intensity        */
/* (the same as at the current level)                                        */
/* ------------------------------------------------------------------------ */

/** Return-period correction of the runoff coefficient for soil group "A",
 *  "C" or "D" (upper case) and returnPeriod 5, 10, 25, 50 or 100 years;
 *  0 for any other group or period.  Coefficients are 32-bit floats. */
VESK_API double VESK_CALL vesk_runoffCoeffCorr(const char *soilGroup, int32_t returnPeriod,
                                               double imperviousPct);

/** Runoff coefficient for soil group "A" (limited below at 0), "B" (mean of
 *  the A and C results), "C" or "D"; 0 for any other group.  A return period
 *  outside the table gives the uncorrected polynomial. */
VESK_API double VESK_CALL vesk_runoffCoeff(const char *soilGroup, int32_t returnPeriod,
                                           double imperviousPct);

/** Cut-off length of overland flow in feet: 500 * exp(-0.035 * x). */
VESK_API double VESK_CALL vesk_maxLengthCutoff(double x);

/** Overland part of a flow path: the smaller of totalLength and maxLength
 *  (any one length unit; the cut-off above is in feet). */
VESK_API double VESK_CALL vesk_calcOverlandLen(double totalLength, double maxLength);

/** Channel part of a flow path: totalLength - overlandLength, at least 0
 *  (the unit of the arguments). */
VESK_API double VESK_CALL vesk_calcChannelLen(double totalLength, double overlandLength);

/** Overland (initial) flow time in minutes, 0.395 * (1.1 - C) * L^0.5 /
 *  S^0.33 with the overland length L in feet and the slope S in ft/ft; 0 when
 *  slope is 0.  The fourth argument is accepted and not used. */
VESK_API double VESK_CALL vesk_initialFlowTime(double runoffCoefficient, double overlandLength,
                                               double slope, double unused);

/** Travel time in minutes, length / (60 * velocity) with the length in feet
 *  and the velocity in feet per second; 0 when velocity is 0.  The third
 *  argument is accepted and not used. */
VESK_API double VESK_CALL vesk_flowTravelTime(double length, double velocity, double unused);

/** Minimum time of concentration in minutes: 10 up to 25 % imperviousness,
 *  else 5. */
VESK_API double VESK_CALL vesk_calcMinTc(double imperviousPct);

/** Regional time of concentration in minutes, length / 180 + 10 with the
 *  length in feet. */
VESK_API double VESK_CALL vesk_calcRegionalTc(double length);

/** Time of concentration in minutes (all times in minutes): initialTime +
 *  travelTime, limited to regionalTime at 25 % imperviousness or less, and at
 *  least minTime. */
VESK_API double VESK_CALL vesk_calcTc(double initialTime, double travelTime, double minTime,
                                      double regionalTime, double imperviousPct);

/** Conveyance coefficient: 0 below 0 %, the line (5, 7)-(20, 15) below 20 %,
 *  the line (20, 15)-(40, 20) below 40 %, 20 below 100 %, 0 from 100 %. */
VESK_API double VESK_CALL vesk_calcConvCoeff(double imperviousPct);

/** Rainfall intensity a1 * a3 / (a2 + a4)^a5. */
VESK_API double VESK_CALL vesk_calcIntensity(double a1, double a2, double a3, double a4, double a5);

/** Ordinate at x on the line through (x1, y1) and (x2, y2). */
VESK_API double VESK_CALL vesk_linterp(double y1, double x1, double y2, double x2, double x);

#ifdef __cplusplus
}
#endif

#endif /* VESKDLL_H */
