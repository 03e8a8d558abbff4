/*
 * veskdll133.h - the interface of the veskdll133 runoff library (current level).
 *
 * The library turns catchment ("basin") parameters and rainfall into runoff
 * hydrographs.  A host opens the library, confirms the version it was built
 * against, adds basins by name, feeds each basin one rainfall depth per time
 * step and reads the outflow back.  Beside this it exports twenty-five
 * stand-alone calculators of the method's empirical relations.
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
 *     vesk_free (to VESK_OK) and an accepted vesk_checkversion (7 to 0) clear
 *     it.
 *   - While the code is non-zero, the exports that store, step or copy out
 *     basins do nothing (each says so below).  Right after vesk_open the code
 *     is VESK_ERR_VERSION_UNCONFIRMED, so call vesk_checkversion first.
 *   - A null pointer (a name, record, destination, path or stamp) sets the
 *     export's code only when no code is pending.  A pending code stays, so
 *     a pending VESK_ERR_VERSION_UNCONFIRMED can still be cleared by a
 *     matching stamp.
 *   - Basin names are NUL-terminated byte strings compared without regard to
 *     ASCII letter case.
 *   - The calculators touch no state: they neither read nor set the error code
 *     and may be called at any time, before vesk_open too.
 *   - The library keeps no reference to any record whose address it is given.
 *
 * Calling convention: on 32-bit Windows every export is __stdcall and bound by
 * its undecorated name; elsewhere it is the platform's C convention.
 *
 * This header compiles as C (C11 or later) and as C++.  It cannot be combined
 * with veskdll.h (the earlier level) in one translation unit: both declare the
 * same names with other records.
 */
#ifndef VESKDLL133_H
#define VESKDLL133_H

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

/** An initializer of VersionStamp in the order of its fields, {major, minor,
 *  build, release}:  VersionStamp stamp = VESK_VERSION_STAMP_INIT; */
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
/** The library was opened and no matching version stamp has been presented,
 *  or the last stamp presented was null or did not match. */
#define VESK_ERR_VERSION_UNCONFIRMED 7

/* ------------------------------------------------------------------------ */
/* Records crossing the boundary.  Little-endian, doubles 8-byte aligned,    */
/* integers signed 32-bit.  Gaps carry no value.                             */
/* ------------------------------------------------------------------------ */

/** Version of the library as four integers (16 bytes).  Note the order:
 *  version 1.3.3.6 travels as major 1, minor 3, build 6, release 3.  The
 *  stamp of the version this header belongs to is VESK_VERSION_STAMP_INIT
 *  (above):  VersionStamp expected = VESK_VERSION_STAMP_INIT; */
typedef struct VersionStamp {
    int32_t major;   /**< first number of the version (1) */
    int32_t minor;   /**< second number (3) */
    int32_t build;   /**< fourth number (6); not compared by vesk_checkversion */
    int32_t release; /**< third number (3) */
} VersionStamp;

/** Shape of the synthetic unit hydrograph (56 bytes).  Zero or negative
 *  values ask the library to derive the value; vesk_getbasin returns the
 *  values actually used. */
typedef struct ShapeParameters {
    double ct;             /**< time-to-peak coefficient; <= 0: derive from the imperviousness and area */
    double cp;             /**< peak-rate coefficient; <= 0: derive (uses ct) */
    double width50;        /**< min, width at 50 % of the peak; <= 0 in either width: derive both */
    double width75;        /**< min, width at 75 % of the peak */
    double rise50Fraction; /**< share of width50 before the peak; <= 0 in either fraction: 0.35 and 0.45 */
    double rise75Fraction; /**< share of width75 before the peak */
    int32_t uhTimeStep;    /**< min, ordinate spacing and duration of the unit rain; must be >= 1 */
    int32_t gap;           /**< no value */
} ShapeParameters;

/** Parameters of one basin (232 bytes): filled by the host for vesk_addbasin,
 *  filled by the library in vesk_getbasin. */
typedef struct BasinInput {
    double area;                        /**< sq mi, total basin area */
    double length;                      /**< mi, first of the two lengths whose product sets the time to peak */
    double centroidLength;              /**< mi, second length of that product */
    double imperviousPct;               /**< %, 0..100; vesk_addbasin may rewrite it to 0 or 100 */
    double eiaPct;                      /**< %, effective imperviousness; carried through, used by no computation */
    double slope;                       /**< ft/ft, must be > 0 */
    double timeStep;                    /**< min, simulation step; truncated toward zero when stored; must be >= 1 to step,
                                             and then equal to shape.uhTimeStep */
    double perviousDepressionStorage;   /**< in, depression-storage capacity of the pervious sub-areas; >= 0 */
    double imperviousDepressionStorage; /**< in, depression-storage capacity of the impervious sub-areas; >= 0 */
    double initialInfiltrationRate;     /**< in/h, Horton initial rate (pervious sub-areas); >= 0 */
    double finalInfiltrationRate;       /**< in/h, Horton final rate (pervious sub-areas); >= 0 */
    double infiltrationDecay;           /**< 1/s, Horton decay coefficient (pervious sub-areas); >= 0 */
    int32_t disconnectionLevel;         /**< 0, 1 or 2: selects the DCIF and RPF tables */
    int32_t gap;                        /**< no value */
    double dcif;                        /**< directly connected share of the impervious area, 0..1, or below 0 to
                                             ask for the DCIF relation's value (vesk_calcDCIF at level 1 or 2 as
                                             disconnectionLevel says, else 0, and at imperviousPct as the partition
                                             snaps it), taken before the sub-areas are split; snapped to 0 or 1 where
                                             a part would fall below 0.00001 sq mi, and written back only where the
                                             snapping changes it (a request left alone stays below 0 in the record);
                                             the stored basin raises values below 0.00001 to 0.00001 */
    double rpf;                         /**< receiving share of the pervious area, 0..1, or below 0 to ask for the
                                             RPF relation's value (vesk_calcRPF at disconnectionLevel as stored);
                                             derived, snapped, written back and raised as dcif */
    double rpaShare;                    /**< read from the input file, otherwise ignored; vesk_getbasin returns 0 */
    double spaShare;                    /**< read from the input file, otherwise ignored; vesk_getbasin returns 0 */
    double uhPeakTime;                  /**< output, min from the start of the unit rain to the unit-hydrograph peak */
    double peakTime;                    /**< output, min, simulation time of the largest outflow so far */
    double unitPeakRate;                /**< output, cfs per sq mi, unit-hydrograph peak per square mile */
    double uhPeakRate;                  /**< output, cfs per inch, unit-hydrograph peak of the whole basin */
    double unitRunoffVolume;            /**< output, acre-ft, volume of one inch of runoff over the basin */
    ShapeParameters shape;              /**< unit-hydrograph shape inputs (derived values on output) */
} BasinInput;

/** Losses of one sub-area in the latest step (64 bytes); depths in inches. */
typedef struct LossState {
    double waterInput;        /**< rain applied; for the RPA plus the run-on of the UIA */
    double capacityCarry;     /**< capacity carried into the step; always 0 */
    double infiltration;      /**< depth infiltrated */
    double previousStorage;   /**< depression storage at the start of the step */
    double depressionStorage; /**< depression storage at the end of the step */
    double otherLoss;         /**< further loss term; always 0 */
    double excessLoss;        /**< share of the remainder lost (5 % on impervious sub-areas) */
    double excess;            /**< net excess depth */
} LossState;

/** State of a basin's latest step (280 bytes), copied out by
 *  vesk_getbasin_precip.  Note the sub-area order DCIA, UIA, SPA, RPA.  A
 *  sub-area of 0.00001 sq mi or less is never stepped and keeps zeros. */
typedef struct PrecipState {
    int32_t time;     /**< min at the end of the latest step; 0 before the first */
    int32_t timeStep; /**< min, step length */
    double stepRain;  /**< in, rain of the latest step */
    LossState dcia;   /**< directly connected impervious area */
    LossState uia;    /**< unconnected impervious area */
    LossState spa;    /**< separate pervious area */
    LossState rpa;    /**< receiving pervious area (takes the UIA's run-on) */
    double stepExcess; /**< in, area-weighted excess depth of the step over the whole basin */
} PrecipState;

VESK_STATIC_ASSERT(sizeof(VersionStamp) == 16, "VersionStamp is 16 bytes");
VESK_STATIC_ASSERT(offsetof(VersionStamp, major) == 0, "VersionStamp.major");
VESK_STATIC_ASSERT(offsetof(VersionStamp, minor) == 4, "VersionStamp.minor");
VESK_STATIC_ASSERT(offsetof(VersionStamp, build) == 8, "VersionStamp.build");
VESK_STATIC_ASSERT(offsetof(VersionStamp, release) == 12, "VersionStamp.release");

VESK_STATIC_ASSERT(sizeof(ShapeParameters) == 56, "ShapeParameters is 56 bytes");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, ct) == 0, "ShapeParameters.ct");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, cp) == 8, "ShapeParameters.cp");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, width50) == 16, "ShapeParameters.width50");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, width75) == 24, "ShapeParameters.width75");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, rise50Fraction) == 32, "ShapeParameters.rise50Fraction");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, rise75Fraction) == 40, "ShapeParameters.rise75Fraction");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, uhTimeStep) == 48, "ShapeParameters.uhTimeStep");
VESK_STATIC_ASSERT(offsetof(ShapeParameters, gap) == 52, "ShapeParameters.gap");

VESK_STATIC_ASSERT(sizeof(BasinInput) == 232, "BasinInput is 232 bytes");
VESK_STATIC_ASSERT(offsetof(BasinInput, area) == 0, "BasinInput.area");
VESK_STATIC_ASSERT(offsetof(BasinInput, length) == 8, "BasinInput.length");
VESK_STATIC_ASSERT(offsetof(BasinInput, centroidLength) == 16, "BasinInput.centroidLength");
VESK_STATIC_ASSERT(offsetof(BasinInput, imperviousPct) == 24, "BasinInput.imperviousPct");
VESK_STATIC_ASSERT(offsetof(BasinInput, eiaPct) == 32, "BasinInput.eiaPct");
VESK_STATIC_ASSERT(offsetof(BasinInput, slope) == 40, "BasinInput.slope");
VESK_STATIC_ASSERT(offsetof(BasinInput, timeStep) == 48, "BasinInput.timeStep");
VESK_STATIC_ASSERT(offsetof(BasinInput, perviousDepressionStorage) == 56, "BasinInput.perviousDepressionStorage");
VESK_STATIC_ASSERT(offsetof(BasinInput, imperviousDepressionStorage) == 64, "BasinInput.imperviousDepressionStorage");
VESK_STATIC_ASSERT(offsetof(BasinInput, initialInfiltrationRate) == 72, "BasinInput.initialInfiltrationRate");
VESK_STATIC_ASSERT(offsetof(BasinInput, finalInfiltrationRate) == 80, "BasinInput.finalInfiltrationRate");
VESK_STATIC_ASSERT(offsetof(BasinInput, infiltrationDecay) == 88, "BasinInput.infiltrationDecay");
VESK_STATIC_ASSERT(offsetof(BasinInput, disconnectionLevel) == 96, "BasinInput.disconnectionLevel");
VESK_STATIC_ASSERT(offsetof(BasinInput, gap) == 100, "BasinInput.gap");
VESK_STATIC_ASSERT(offsetof(BasinInput, dcif) == 104, "BasinInput.dcif");
VESK_STATIC_ASSERT(offsetof(BasinInput, rpf) == 112, "BasinInput.rpf");
VESK_STATIC_ASSERT(offsetof(BasinInput, rpaShare) == 120, "BasinInput.rpaShare");
VESK_STATIC_ASSERT(offsetof(BasinInput, spaShare) == 128, "BasinInput.spaShare");
VESK_STATIC_ASSERT(offsetof(BasinInput, uhPeakTime) == 136, "BasinInput.uhPeakTime");
VESK_STATIC_ASSERT(offsetof(BasinInput, peakTime) == 144, "BasinInput.peakTime");
VESK_STATIC_ASSERT(offsetof(BasinInput, unitPeakRate) == 152, "BasinInput.unitPeakRate");
VESK_STATIC_ASSERT(offsetof(BasinInput, uhPeakRate) == 160, "BasinInput.uhPeakRate");
VESK_STATIC_ASSERT(offsetof(BasinInput, unitRunoffVolume) == 168, "BasinInput.unitRunoffVolume");
VESK_STATIC_ASSERT(offsetof(BasinInput, shape) == 176, "BasinInput.shape");

VESK_STATIC_ASSERT(sizeof(LossState) == 64, "LossState is 64 bytes");
VESK_STATIC_ASSERT(offsetof(LossState, waterInput) == 0, "LossState.waterInput");
VESK_STATIC_ASSERT(offsetof(LossState, capacityCarry) == 8, "LossState.capacityCarry");
VESK_STATIC_ASSERT(offsetof(LossState, infiltration) == 16, "LossState.infiltration");
VESK_STATIC_ASSERT(offsetof(LossState, previousStorage) == 24, "LossState.previousStorage");
VESK_STATIC_ASSERT(offsetof(LossState, depressionStorage) == 32, "LossState.depressionStorage");
VESK_STATIC_ASSERT(offsetof(LossState, otherLoss) == 40, "LossState.otherLoss");
VESK_STATIC_ASSERT(offsetof(LossState, excessLoss) == 48, "LossState.excessLoss");
VESK_STATIC_ASSERT(offsetof(LossState, excess) == 56, "LossState.excess");

VESK_STATIC_ASSERT(sizeof(PrecipState) == 280, "PrecipState is 280 bytes");
VESK_STATIC_ASSERT(offsetof(PrecipState, time) == 0, "PrecipState.time");
VESK_STATIC_ASSERT(offsetof(PrecipState, timeStep) == 4, "PrecipState.timeStep");
VESK_STATIC_ASSERT(offsetof(PrecipState, stepRain) == 8, "PrecipState.stepRain");
VESK_STATIC_ASSERT(offsetof(PrecipState, dcia) == 16, "PrecipState.dcia");
VESK_STATIC_ASSERT(offsetof(PrecipState, uia) == 80, "PrecipState.uia");
VESK_STATIC_ASSERT(offsetof(PrecipState, spa) == 144, "PrecipState.spa");
VESK_STATIC_ASSERT(offsetof(PrecipState, rpa) == 208, "PrecipState.rpa");
VESK_STATIC_ASSERT(offsetof(PrecipState, stepExcess) == 272, "PrecipState.stepExcess");

/* ------------------------------------------------------------------------ */
/* Library frame                                                             */
/* ------------------------------------------------------------------------ */

/** Creates a new, empty basin registry and sets the code to
 *  VESK_ERR_VERSION_UNCONFIRMED if no code is pending.  If the registry cannot
 *  be allocated the code becomes VESK_ERR_NO_MEMORY and no registry exists.
 *  A registry left by an earlier vesk_open without vesk_free is released
 *  first, with every basin in it: opening again starts from an empty
 *  registry. */
VESK_API void VESK_CALL vesk_open(void);

/** Releases every stored basin and the registry and sets the code to VESK_OK.
 *  Harmless without a registry. */
VESK_API void VESK_CALL vesk_free(void);

/** Returns the pending error code (VESK_OK when none) without changing it. */
VESK_API int32_t VESK_CALL vesk_geterror(void);

/** Fills *stamp with this library's version (1.3.3.6 gives {1, 3, 6, 3}, the
 *  same as VESK_VERSION_STAMP_INIT of the header built with it).  Does
 *  nothing when stamp is null.  Does not touch the error code. */
VESK_API void VESK_CALL vesk_getversion(VersionStamp *stamp);

/** Presents the version the host was built against.  A stamp equal to the
 *  library's in major, minor and release (build may differ) clears a pending
 *  VESK_ERR_VERSION_UNCONFIRMED and leaves any other code as it is.  A
 *  different stamp sets VESK_ERR_VERSION_UNCONFIRMED, replacing any code.  A
 *  null stamp sets it only when no code is pending; a pending code stays. */
VESK_API void VESK_CALL vesk_checkversion(const VersionStamp *stamp);

/* ------------------------------------------------------------------------ */
/* Basins                                                                    */
/* ------------------------------------------------------------------------ */

/** Prepares a basin from *record and stores it under name (case-insensitive).
 *
 *  The basin is split into four sub-areas: directly connected impervious
 *  (DCIA), unconnected impervious (UIA), receiving pervious (RPA, which takes
 *  the UIA's run-on) and separate pervious (SPA).  Parts smaller than
 *  0.00001 sq mi are snapped away, and the snapped values are WRITTEN BACK
 *  into *record: imperviousPct (to 0 or 100), dcif and rpf (to 0 or 1).  A
 *  dcif or rpf below 0 or above 1 is snapped too wherever its part of the
 *  basin exists, so the four sub-areas are never negative and make up the
 *  basin.  A dcif or rpf below 0 asks for its relation's value: it is
 *  replaced by vesk_calcDCIF (level 1 or 2 as disconnectionLevel says, else
 *  0) or vesk_calcRPF (disconnectionLevel as given) at the imperviousness
 *  the partition takes (0 when area * imperviousPct / 100 is below 0.00001,
 *  100 when the pervious part is, else as given) BEFORE the sub-areas are
 *  split, then snapped like a given value; it is written back only when the
 *  snapping changes it, so a host that passed -1 usually still reads -1
 *  (vesk_getbasin shows the value used).  No other field of *record is changed; derived defaults (dcif, rpf,
 *  ct, cp, widths, fractions) are kept only in the stored basin (see
 *  vesk_getbasin).  The write-back happens in every call with a record,
 *  whether or not the basin is then stored.
 *
 *  The basin was stored exactly when the call starts and ends with
 *  vesk_geterror() == VESK_OK.  Otherwise nothing is stored and the code says
 *  why:
 *    - a code already pending (for example VESK_ERR_VERSION_UNCONFIRMED):
 *      the snapping above still runs, then the call stops; the code stays,
 *      also when record or name is null;
 *    - VESK_ERR_UH_FIT: the basin cannot be built: shape.uhTimeStep below
 *      1 minute; area <= 0 or slope <= 0 (refused before anything is
 *      allocated); a NaN or infinite value in a field the library
 *      computes with (the doubles from area to rpf except eiaPct, and the six
 *      doubles of shape; eiaPct, rpaShare, spaShare and the five outputs are
 *      not examined); a timeStep whose whole minutes do not fit a 32-bit
 *      integer, or whose whole minutes are 1 or more and differ from
 *      shape.uhTimeStep (the basin steps one ordinate at a time; a timeStep
 *      below 1 is stored and never steps); a negative initial or final
 *      infiltration rate, decay or depression storage; a shape the method
 *      cannot fit (for example widths so large that the rising, peak and
 *      falling limbs already hold the inch); a hydrograph that would reach
 *      beyond 100,000 minutes (refused before anything is allocated); or one
 *      that ends within the first uhTimeStep (the step is too coarse for the
 *      basin);
 *    - VESK_ERR_NO_MEMORY, VESK_ERR_NULL (no registry, or null name or
 *      record; nothing is read or written through a null record),
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
VESK_API void VESK_CALL vesk_addbasin(BasinInput *record, const char *name);

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
 *  disconnectionLevel and uhTimeStep are integers.  Each value is the longest
 *  decimal number at the start of what is left: 2.5 where an integer is due
 *  gives 2, and .5 becomes the next value; 0.8kg gives 0.8 and leaves "kg".
 *  A text that does not start with a number is never read, so it and every
 *  later value stay 0 (only a fraction such as .5 met where an integer is
 *  due is taken up as the first value of the next line).  The file has
 *  no time step, so a loaded basin has timeStep 0 and cannot be stepped by
 *  vesk_execute.  VESK_ERR_FILE_OPEN when path is null, the file cannot be
 *  opened, or it holds no name; nothing is added then.  A null path leaves a
 *  pending code as it is. */
VESK_API void VESK_CALL vesk_loadandadd(const char *path);

/** Advances the basin in steps of its own timeStep until its clock reaches
 *  targetTime (minutes), applying rainDepth (inches) whole to every step
 *  taken, and returns the latest step's outflow in cfs.  A target not above
 *  the basin's clock takes no step and returns the latest outflow (0 before
 *  the first step).
 *  Returns -1.0 without stepping when the lookup fails (the code becomes
 *  VESK_ERR_BASIN_NOT_FOUND, VESK_ERR_NULL or VESK_ERR_NO_MEMORY; a null name
 *  leaves a pending code as it is), when any code is pending, when the
 *  basin's timeStep is below 1 minute (as for every basin loaded from a
 *  file), or when rainDepth is below 0 or above 1,000 inches (NaN and
 *  infinity included; 0 and 1,000 are taken); in the last two cases the code
 *  is left as it is and the basin unchanged.
 *  The clock never passes INT32_MAX minutes: stepping stops when the next
 *  step would, so a target beyond that is not reached. */
VESK_API double VESK_CALL vesk_execute(const char *name, double rainDepth, int32_t targetTime);

/** Overwrites all 232 bytes of *out with the stored basin's parameters as
 *  prepared: derived dcif, rpf, ct, cp, widths and fractions in place of the
 *  requests for them, the five outputs, timeStep as stored (whole minutes),
 *  rpaShare and spaShare 0.  Writes nothing when the lookup fails, when any
 *  code is pending, or when out is null (code VESK_ERR_NULL).  A null name or
 *  out leaves a pending code as it is. */
VESK_API void VESK_CALL vesk_getbasin(const char *name, BasinInput *out);

/** Copies the basin's 280-byte PrecipState (its latest step) into *out.
 *  Writes nothing when the lookup fails, when any code is pending, or when
 *  out is null (code VESK_ERR_NULL).  A null name or out leaves a pending
 *  code as it is. */
VESK_API void VESK_CALL vesk_getbasin_precip(const char *name, PrecipState *out);

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
/* impervious area.  Keys and soil groups: only the first character counts;  */
/* a null pointer is read as the empty string.                               */
/* ------------------------------------------------------------------------ */

/** DCIF table coefficient for level 0..2 and the band of imperviousPct
 *  (10 % bands, 90..100 inclusive): key "a" slope, "b" intercept.  The table
 *  holds 32-bit floats, returned widened.  0 for any other key or level, or
 *  an imperviousPct below 0, above 100 or NaN. */
VESK_API double VESK_CALL vesk_DCIFgetParam(int32_t level, double imperviousPct, const char *key);

/** RPF table coefficient, as vesk_DCIFgetParam. */
VESK_API double VESK_CALL vesk_RPFgetParam(int32_t level, double imperviousPct, const char *key);

/** Directly connected impervious fraction: b + imperviousPct/100 * a, at least
 *  0.00001 (which is also the answer for a level or imperviousPct outside the
 *  table). */
VESK_API double VESK_CALL vesk_calcDCIF(int32_t level, double imperviousPct);

/** Receiving pervious fraction, as vesk_calcDCIF with the RPF table. */
VESK_API double VESK_CALL vesk_calcRPF(int32_t level, double imperviousPct);

/** Unconnected impervious fraction 1 - dcif, at least 0.00001. */
VESK_API double VESK_CALL vesk_calcUIF(double dcif);

/** Separate pervious fraction 1 - rpf, at least 0.00001. */
VESK_API double VESK_CALL vesk_calcSPF(double rpf);

/** Effective impervious area in % of the basin: all of the directly connected
 *  part plus the share exp(X) of the unconnected part, where X falls with the
 *  receiving pervious share and with infiltration/rainfall (same units, any).
 *  0 below 0.001 % imperviousness, 100 from 99.999 %; dcif and rpf are kept
 *  inside (0, 1) by 0.00001. */
VESK_API double VESK_CALL vesk_calcEIA(double dcif, double rpf, double imperviousPct,
                                       double rainfall, double infiltration);

/* ------------------------------------------------------------------------ */
/* Calculators: peaking coefficients CT and CP                               */
/* ------------------------------------------------------------------------ */

/** CT quadratic coefficient for the band of imperviousPct (below 10, 10 to
 *  below 40, 40 and above): key "a" (square), "b" (linear), "c" (constant);
 *  0 for any other key. */
VESK_API double VESK_CALL vesk_CTgetParam(double imperviousPct, const char *key);

/** Time-to-peak coefficient from the imperviousness (%), uncorrected. */
VESK_API double VESK_CALL vesk_calcCT_Cutoff(double imperviousPct);

/** ct corrected for basins under 0.25 sq mi: area^-0.31 * ct * 0.65;
 *  ct unchanged otherwise. */
VESK_API double VESK_CALL vesk_calcCT(double ct, double area);

/** Coefficient of the peaking parameter P for the band of imperviousPct
 *  (below 40, 40 and above): key "a", "b" or "c"; 0 for any other key.  The
 *  second argument is accepted and not used. */
VESK_API double VESK_CALL vesk_CPgetParam(double imperviousPct, double unused, const char *key);

/** Peak coefficient CP = P(imperviousPct) * ct * area^0.15, with the ct the
 *  basin uses. */
VESK_API double VESK_CALL vesk_calcCP(double imperviousPct, double area, double ct);

/* ------------------------------------------------------------------------ */
/* Calculators: runoff coefficients, lengths, travel times, intensity        */
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

#endif /* VESKDLL133_H */
