/*
 * vesk_host.h -- the host core of the vesk runoff library, as a C interface.
 *
 * The runoff library (veskdll133.h) steps one basin at a time and leaves the
 * host everything around it.  The host core is that everything, written once
 * for every front end (the vesk program, the Python package, coupled models,
 * ensembles):
 *
 *   - readers of storm files, positional basin files and CSV basin tables,
 *     with bounded cost (64 MiB a file, 4096 characters a line, no NUL bytes)
 *     and "file:line[: column N (field)]: what" in every refusal;
 *   - the physical checks of basins and rain, unit conversion (US customary or
 *     SI in, the library's US customary units inside), resampling of storms
 *     and their splitting into events at dry spells;
 *   - the run loop: many basins through one storm from a fresh registry,
 *     results as arrays (outflow of each basin at each step, their sum at the
 *     outlet) and the summary figures of each basin under one set of names;
 *   - a stepwise session for hosts that act between steps.
 *
 * Conventions (after zlib's): opaque handles created by *_read, *_new,
 * *_start or a run and released by the matching *_free (which accepts
 * NULL); lengths are explicit; results are copied into arrays the caller
 * owns; every call that can fail takes a VeskHostStatus, fills it and returns
 * NULL or a code other than VESK_HOST_OK.  No C++ type crosses this interface
 * and no call keeps a pointer the caller passed.  Strings are UTF-8 or plain
 * bytes, NUL-terminated; strings the core returns stay valid as long as the
 * handle they come from.
 *
 * Threads: the runoff library keeps one registry per process and is not
 * thread-safe, and neither is the core.  A program calling from several
 * threads serialises every call into the core and the library with one lock
 * (the Python package does).
 *
 * Runs and sessions use the process-wide registry of the library they drive
 * (libveskdll133, or the earlier level's when its exports are handed over):
 * each starts a fresh one (vesk_free, which clears a code an earlier refusal
 * left pending, vesk_open, then the version handshake at the current level),
 * adds its basins and leaves them stored when it returns, so vesk_getbasin
 * and the other queries work on them until the next run, session or
 * vesk_free.  A run or session the library refuses leaves its code pending,
 * as the library's own calls do.
 */
#ifndef VESK_HOST_H
#define VESK_HOST_H

#include <stddef.h>
#include <stdint.h>

#include "veskdll133.h"

#if defined(_WIN32)
#  define VESK_HOST_API __declspec(dllexport)
#else
#  define VESK_HOST_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------ */
/* Status                                                                    */

/** The call did what it was asked. */
#define VESK_HOST_OK 0
/** Faulty input: a file, a value or an argument; the message names it
 *  ("file:line: what"). */
#define VESK_HOST_INPUT_ERROR 1
/** The runoff library refused a basin; libraryCode holds its error code. */
#define VESK_HOST_LIBRARY_REFUSED 2
/** Memory ran out. */
#define VESK_HOST_NO_MEMORY 3
/** A null handle or pointer, an index out of range, or an unknown option
 *  value: a fault of the calling program rather than of its input. */
#define VESK_HOST_BAD_ARGUMENT 4

/** Bytes of VeskHostStatus.message, its terminating NUL included. */
#define VESK_HOST_MESSAGE_BYTES 2048

/** What a call did.  The caller owns it; every call that takes one sets all
 *  of its fields. */
typedef struct VeskHostStatus {
    int32_t code;        /**< VESK_HOST_OK or one of the codes above */
    int32_t libraryCode; /**< with VESK_HOST_LIBRARY_REFUSED: the runoff library's code
                              (VESK_ERR_...); else 0 */
    /** One or more sentences saying what went wrong, empty on success;
     *  longer messages are cut at a character boundary and end in "...". */
    char message[VESK_HOST_MESSAGE_BYTES];
} VeskHostStatus;

/** The core's version, "major.minor.release.build", the same as the runoff
 *  library it was built with. */
VESK_HOST_API const char *vesk_host_version(void);

/* ------------------------------------------------------------------------ */
/* Units                                                                     */

/** US customary: sq mi, mi, in, in/h, cfs, acre-ft (the library's own). */
#define VESK_HOST_UNITS_US 0
/** SI: km2, km, mm, mm/h, m3/s, m3. */
#define VESK_HOST_UNITS_SI 1
/** For storms: the unit the file's header names (depth_in or depth_mm),
 *  else inches. */
#define VESK_HOST_UNITS_FROM_FILE (-1)

/** VESK_HOST_UNITS_US or _SI for the name a user gives ("us", "si", any
 *  letter case), or -2 for any other name (or NULL). */
VESK_HOST_API int32_t vesk_host_units_named(const char *name);

/* ------------------------------------------------------------------------ */
/* Warnings                                                                  */

/** A basin value that is legal but unusual (a slope above 0.5, an area
 *  above 100 sq mi). */
#define VESK_HOST_WARN_UNUSUAL_VALUE 1
/** No step that holds a basin's volume is short enough for its peak (at
 *  most half its time to peak); its peak may be cut. */
#define VESK_HOST_WARN_PEAK_UNRESOLVED 9
/** A note: a basin's unit hydrograph is built at its computation step
 *  rather than at the uhTimeStep its file gives. */
#define VESK_HOST_WARN_UNIT_HYDROGRAPH_STEP 2
/** A unit hydrograph built at a step of the host's choosing holds more than
 *  10 % more or less than one inch over the basin (runs choose their steps
 *  and do not give it). */
#define VESK_HOST_WARN_UNIT_HYDROGRAPH_VOLUME 3
/** The outflow of a run differs from its excess rain by more than the
 *  volume tolerance (a run cut short). */
#define VESK_HOST_WARN_OUTFLOW_VOLUME 4
/** A basin's outflow did not come back to 0 after its unit hydrograph. */
#define VESK_HOST_WARN_STILL_FLOWING 5
/** The run stopped at its longest length (1,000,000 minutes) while water
 *  was still draining. */
#define VESK_HOST_WARN_RUN_LIMIT 6
/** Storm steps beyond the chosen duration were not applied. */
#define VESK_HOST_WARN_STORM_CUT 7
/** A record longer than a day with a dry spell of six hours or more runs as
 *  one event, although the loss model does not recover between storms. */
#define VESK_HOST_WARN_LONG_RECORD 8
/** A note: gaps in a storm's times were filled with dry steps, as asked
 *  (the count and where). */
#define VESK_HOST_WARN_GAPS_FILLED 10

/** Warnings gathered over any number of calls, in the order they arose. */
typedef struct VeskHostWarnings VeskHostWarnings;

VESK_HOST_API VeskHostWarnings *vesk_host_warnings_new(void);
VESK_HOST_API void vesk_host_warnings_free(VeskHostWarnings *warnings);
VESK_HOST_API size_t vesk_host_warnings_count(const VeskHostWarnings *warnings);
/** The cause of warning `index` (VESK_HOST_WARN_...), or 0 when out of range. */
VESK_HOST_API int32_t vesk_host_warning_cause(const VeskHostWarnings *warnings, size_t index);
/** The basin it concerns; "" when it concerns the whole run or is out of range. */
VESK_HOST_API const char *vesk_host_warning_basin(const VeskHostWarnings *warnings, size_t index);
/** The warning as one sentence; "" when out of range. */
VESK_HOST_API const char *vesk_host_warning_text(const VeskHostWarnings *warnings, size_t index);

/* ------------------------------------------------------------------------ */
/* Storms                                                                    */

/** Rain depths, one per step, in inches. */
typedef struct VeskHostStorm VeskHostStorm;

/** The largest depth of one step a storm may hold, inches (2540 mm). */
#define VESK_HOST_MAX_STEP_DEPTH_INCHES 100.0
/** The longest run, minutes. */
#define VESK_HOST_MAX_RUN_MINUTES 1000000

/**
 * Reads a storm file ("-": standard input): CSV with an optional header, of
 * two columns (the time at the end of each step, the value) or of one
 * column of depths.  Times are minutes or hours from the start of the storm,
 * or civil date-times without a time zone ("2024-05-01T00:05" or
 * "2024-05-01 00:05", seconds only as 00; proleptic Gregorian calendar,
 * years 1 to 9999), each the end of its step, the first row the end of the
 * first step.  Header words name the units: time_min or time_h for numbers
 * (a column of date-times carries none), and depth_in, depth_mm (rain in
 * each step), intensity_in_h or intensity_mm_h (its mean intensity over the
 * step); another unit word after time_, depth_ or intensity_ is refused.
 * `units` is VESK_HOST_UNITS_US or _SI (a header naming the other unit is
 * refused) or VESK_HOST_UNITS_FROM_FILE.  The step is the spacing most rows
 * keep and must be whole minutes; rows must be a whole number of steps
 * apart, and rows more than one step apart (a gap) are refused.  A first
 * time in minutes later than one step means dry steps before it.  Depths
 * must be finite, at least 0 and at most 100 in a step.  A storm set (a
 * file whose first column is storm) is refused: vesk_host_storms_read.
 */
VESK_HOST_API VeskHostStorm *vesk_host_storm_read(const char *path, int32_t units, VeskHostStatus *status);
/** What a gap in a storm's times gets. */
#define VESK_HOST_GAPS_REFUSE 0 /**< refused with its line */
#define VESK_HOST_GAPS_ZERO 1   /**< filled with dry steps; a note (VESK_HOST_WARN_GAPS_FILLED) says where */
/** vesk_host_storm_read with the choice of what a gap gets (`gaps`); the
 *  note of the gaps filled is appended to `warnings` (which may be NULL). */
VESK_HOST_API VeskHostStorm *vesk_host_storm_read_with(const char *path, int32_t units, int32_t gaps,
                                                       VeskHostWarnings *warnings, VeskHostStatus *status);
/** The same from `length` bytes of text; `origin` names it in messages. */
VESK_HOST_API VeskHostStorm *vesk_host_storm_parse(const char *text, size_t length, const char *origin,
                                                   int32_t units, VeskHostStatus *status);
/** A storm from `count` depths in inches, one per step of `stepMinutes`
 *  (1 to 1440, or 0 when the step is not known), checked like a file's. */
VESK_HOST_API VeskHostStorm *vesk_host_storm_from_depths(const double *inches, size_t count, int32_t stepMinutes,
                                                         const char *origin, VeskHostStatus *status);
/** The storm in steps of `stepMinutes`: each depth split evenly over finer
 *  steps, or whole groups of steps summed into coarser ones (the last group
 *  padded with dry steps).  Refused when neither step divides the other. */
VESK_HOST_API VeskHostStorm *vesk_host_storm_resample(const VeskHostStorm *storm, int32_t stepMinutes,
                                                      VeskHostStatus *status);
VESK_HOST_API void vesk_host_storm_free(VeskHostStorm *storm);
/**
 * A dated storm from a program's rows, read as a file's are: `seconds` the
 * end of each step in seconds from 1970-01-01T00:00 (civil, whole minutes),
 * `values` as the column named `column` gives them (a header word such as
 * "depth_mm" or "intensity_in_h"; NULL or "": depths in inches, or
 * millimetres with `units` _SI), `stepSeconds` the step (0: the spacing
 * most rows keep).  `gaps` and `warnings` as for vesk_host_storm_read_with;
 * messages name `origin` and the row.
 */
VESK_HOST_API VeskHostStorm *vesk_host_storm_from_times(const int64_t *seconds, const double *values, size_t count,
                                                        int64_t stepSeconds, const char *column, int32_t units,
                                                        int32_t gaps, const char *origin, VeskHostWarnings *warnings,
                                                        VeskHostStatus *status);
/** How the values were given. */
#define VESK_HOST_RAIN_DEPTH 0     /**< rain depth in each step */
#define VESK_HOST_RAIN_INTENSITY 1 /**< mean intensity over each step */
/** VESK_HOST_RAIN_DEPTH or _INTENSITY (the depths are inches either way). */
VESK_HOST_API int32_t vesk_host_storm_quantity(const VeskHostStorm *storm);
/** 1 for a dated storm, with the civil minute (from 1970-01-01T00:00) at
 *  which its first step starts in `*minute` (one step before its first
 *  row); 0 when it has no dates. */
VESK_HOST_API int32_t vesk_host_storm_start(const VeskHostStorm *storm, int64_t *minute);
/** Dates a storm that has a step: its first step starts at civil minute
 *  `minute` (years 1 to 9999).  Runs then report date-times. */
VESK_HOST_API int32_t vesk_host_storm_set_start(VeskHostStorm *storm, int64_t minute, VeskHostStatus *status);
/** The dry steps put in for gaps. */
VESK_HOST_API size_t vesk_host_storm_filled(const VeskHostStorm *storm);
/** The step in minutes, 0 for a storm of depths without times. */
VESK_HOST_API int32_t vesk_host_storm_step(const VeskHostStorm *storm);
/** The number of steps. */
VESK_HOST_API size_t vesk_host_storm_length(const VeskHostStorm *storm);
/** VESK_HOST_UNITS_US or _SI: the unit the depths were given in. */
VESK_HOST_API int32_t vesk_host_storm_units(const VeskHostStorm *storm);
/** Copies min(length, capacity) depths in inches into `inches`; returns the
 *  length. */
VESK_HOST_API size_t vesk_host_storm_depths(const VeskHostStorm *storm, double *inches, size_t capacity);

/** Named storms: the storms of a storm set or a batch of design storms. */
typedef struct VeskHostStormSet VeskHostStormSet;

/** A storm file or a storm set: a CSV whose header starts with a column
 *  called storm, every row with its storm's name, the rest of each row read
 *  as a storm file's (the rows of each storm together).  A plain storm file
 *  gives one storm named after the file.  `units`, `gaps` and `warnings` as
 *  for vesk_host_storm_read_with. */
VESK_HOST_API VeskHostStormSet *vesk_host_storms_read(const char *path, int32_t units, int32_t gaps,
                                                      VeskHostWarnings *warnings, VeskHostStatus *status);
VESK_HOST_API void vesk_host_storms_free(VeskHostStormSet *storms);
VESK_HOST_API size_t vesk_host_storms_count(const VeskHostStormSet *storms);
/** 1 when the file named its storms (a storm set), 0 for a plain file. */
VESK_HOST_API int32_t vesk_host_storms_named(const VeskHostStormSet *storms);
/** The name of storm `index`; "" when out of range. */
VESK_HOST_API const char *vesk_host_storms_name(const VeskHostStormSet *storms, size_t index);
/** Storm `index` as a storm of its own, to be freed with
 *  vesk_host_storm_free; NULL when out of range. */
VESK_HOST_API VeskHostStorm *vesk_host_storms_storm(const VeskHostStormSet *storms, size_t index);

/* Design storms.  Each is refused (VESK_HOST_INPUT_ERROR, with the reason)
 * when a run could not take it: depths that are not finite, a step above
 * 100 in, a relation whose depth falls or whose mean intensity rises as the
 * duration grows.  Depths are returned in inches; the storm's units are
 * those it was asked in. */

/** The alternating-block storm of the relation i = factor * a / (b + t)^c
 *  (i in in/h, or mm/h with `units` _SI; t in minutes) over `duration`
 *  minutes in steps of `step` (dividing it), the deepest block at
 *  `peakPosition` (0 first step .. 1 last), or with `uniform` 1 the
 *  duration's depth spread evenly. */
VESK_HOST_API VeskHostStorm *vesk_host_design_relation(double a, double b, double c, double factor, int32_t units,
                                                       int32_t duration, int32_t step, double peakPosition,
                                                       int32_t uniform, VeskHostStatus *status);
/** The storms of an IDF table (CSV: return_period_yr, a_in_h or a_mm_h,
 *  b_min, c) for every return period and duration (return periods outer),
 *  named "10yr_120min"; the other arguments as for
 *  vesk_host_design_relation.  A return period the table does not hold is
 *  refused (they are not interpolated). */
VESK_HOST_API VeskHostStormSet *vesk_host_design_idf(const char *path, const double *returnPeriods,
                                                     size_t periodCount, const int32_t *durations,
                                                     size_t durationCount, int32_t step, double peakPosition,
                                                     int32_t uniform, double factor, VeskHostStatus *status);
/** `depth` (inches, or mm with `units` _SI) spread over a dimensionless
 *  distribution in steps of `step` minutes (dividing its duration): the
 *  cumulative fractions interpolated linearly to the end of each step.
 *  `path` names a distribution file (CSV: hour or minute, then one column
 *  of cumulative fractions per distribution, from 0 at time 0 to 1 at the
 *  end), NULL the built-in NRCS 24-hour "nrcs_type_I" and "nrcs_type_II";
 *  `name` picks one (ASCII letter case ignored). */
VESK_HOST_API VeskHostStorm *vesk_host_design_distribution(const char *path, const char *name, double depth,
                                                           int32_t units, int32_t step, VeskHostStatus *status);

/** The wet stretches of a storm separated by dry spells. */
typedef struct VeskHostEvents VeskHostEvents;

/** Splits `storm` (which needs a step) at dry spells of at least `dryHours`
 *  (above 0); a storm without rain has no event.  The events share the
 *  storm's depths. */
VESK_HOST_API VeskHostEvents *vesk_host_storm_events(const VeskHostStorm *storm, double dryHours,
                                                     VeskHostStatus *status);
VESK_HOST_API void vesk_host_events_free(VeskHostEvents *events);
VESK_HOST_API size_t vesk_host_events_count(const VeskHostEvents *events);
/** Event `index` as a storm of its own (from its first to its last wet
 *  step), to be freed with vesk_host_storm_free; NULL when out of range. */
VESK_HOST_API VeskHostStorm *vesk_host_events_storm(const VeskHostEvents *events, size_t index);
/** Minutes from the start of the record to the start of event `index`. */
VESK_HOST_API int64_t vesk_host_events_start_minute(const VeskHostEvents *events, size_t index);

/* ------------------------------------------------------------------------ */
/* Basins                                                                    */

/** Basins with their names, read and checked, in the library's units. */
typedef struct VeskHostBasins VeskHostBasins;

VESK_HOST_API VeskHostBasins *vesk_host_basins_new(void);
VESK_HOST_API void vesk_host_basins_free(VeskHostBasins *basins);
/**
 * Appends the basins of a file: a CSV basin table when the name ends in
 * .csv (any letter case), else a positional basin file (a name and 22
 * numbers).  Values are read in `units` (VESK_HOST_UNITS_US or _SI) and kept
 * in the library's units.  Every basin is checked: imperviousPct 0 to 100,
 * disconnectionLevel 0, 1 or 2, dcif and rpf at most 1, no negative area,
 * lengths, storages, rates or decay, a final rate at most the initial one,
 * and a name that is not empty, at most 255 bytes, free of control
 * characters and not one the results use (outlet, time, time_min, rain_in,
 * rain_mm, event, start_min, storm).  Unusual values become warnings.  On a
 * refusal nothing is appended.
 */
VESK_HOST_API int32_t vesk_host_basins_read(VeskHostBasins *basins, const char *path, int32_t units,
                                            VeskHostWarnings *warnings, VeskHostStatus *status);
/**
 * Appends one basin given as a record in the library's units, with the same
 * checks, and refuses a value that is not a finite number (NaN or infinite,
 * which no file can hold).  `uhTimeStepGiven` 0 leaves the unit-hydrograph
 * step to the run; `origin` names the basin's source in messages ("basin
 * 'A'" when NULL).  A name already held (ignoring ASCII letter case) is
 * refused.
 */
VESK_HOST_API int32_t vesk_host_basins_add(VeskHostBasins *basins, const char *name, const BasinInput *record,
                                           int32_t uhTimeStepGiven, const char *origin,
                                           VeskHostWarnings *warnings, VeskHostStatus *status);
VESK_HOST_API size_t vesk_host_basins_count(const VeskHostBasins *basins);
/** The name of basin `index`; "" when out of range. */
VESK_HOST_API const char *vesk_host_basins_name(const VeskHostBasins *basins, size_t index);
/** The file it came from (or the origin given); "" when out of range. */
VESK_HOST_API const char *vesk_host_basins_origin(const VeskHostBasins *basins, size_t index);
/** Copies its record (timeStep 0; derived values requested as -1 for dcif
 *  and rpf and 0 for the shape values); VESK_HOST_BAD_ARGUMENT when out of
 *  range. */
VESK_HOST_API int32_t vesk_host_basins_record(const VeskHostBasins *basins, size_t index, BasinInput *record);
/** 1 when its file gave a uhTimeStep, 0 when the run's step is to be used. */
VESK_HOST_API int32_t vesk_host_basins_uh_step_given(const VeskHostBasins *basins, size_t index);

/* ------------------------------------------------------------------------ */
/* Runs                                                                      */

/** Called during a run with the steps taken and the steps expected. */
typedef void (*VeskHostProgress)(void *context, size_t done, size_t total);

/**
 * The exports of the earlier-level library (veskdll.h), for runs at that
 * level.  The core links only libveskdll133; a host that loaded libveskdll
 * hands over its functions (all of them, none NULL).  Records are passed as
 * the earlier level's own 216-byte BasinInput and 120-byte StepState; the
 * core converts from and to the current level's record.  The earlier level
 * takes one step of its uhTimeStep per call, which a run sets to its step.
 */
typedef struct VeskHostEarlierLevel {
    void (*open)(void);                                  /**< vesk_open */
    void (*free)(void);                                  /**< vesk_free */
    int32_t (*geterror)(void);                           /**< vesk_geterror */
    void (*addbasin)(void *record, const char *name);    /**< vesk_addbasin */
    void (*getbasin)(const char *name, void *record);    /**< vesk_getbasin */
    void (*getbasinPrecip)(const char *name, void *stepState); /**< vesk_getbasin_precip */
    int32_t (*getuhlength)(const char *name);            /**< vesk_getuhlength */
    double (*getuhordinatevalue)(const char *name, int32_t index); /**< vesk_getuhordinatevalue */
    double (*execute)(const char *name, double rain, int32_t target); /**< vesk_execute */
} VeskHostEarlierLevel;

/**
 * Checks a basin a host stored in the library's registry itself (with
 * vesk_addbasin) as runs check theirs: appends a warning
 * (VESK_HOST_WARN_UNIT_HYDROGRAPH_VOLUME) when its sampled unit hydrograph
 * holds more than 10 % more or less than one inch over the basin.
 * `earlier`: NULL for the current level, else the earlier level's exports.
 * VESK_HOST_LIBRARY_REFUSED when the library holds no such basin (its code
 * is left pending).
 */
VESK_HOST_API int32_t vesk_host_stored_basin_check(const char *name, const VeskHostEarlierLevel *earlier,
                                                   VeskHostWarnings *warnings, VeskHostStatus *status);

typedef struct VeskHostRunOptions {
    /** Minutes: the data step.  0: the storm's step.  A storm with a step is
     *  resampled to it; a storm without one steps this many minutes.  1 to
     *  1440. */
    int32_t timeStep;
    /** Minutes to simulate; 0: until every outflow is back to 0 after the
     *  storm. */
    int32_t duration;
    /** Units of the results: VESK_HOST_UNITS_US or _SI. */
    int32_t units;
    /** 0: a basin that is refused (by the library, or because no step holds
     *  its unit hydrograph) ends the run with a refusal; 1: it is left out of
     *  the run and listed (vesk_host_run_refused_*), and the others run. */
    int32_t skipRefused;
    /** Minutes between the reported values, dividing the data step; 0: the
     *  data step.  Peaks, peak times and volumes do not depend on it. */
    int32_t reportStep;
    int32_t reserved; /**< 0 */
    /** How closely each basin's sampled unit hydrograph must hold one inch
     *  at the step it is computed at, as a fraction (0.02: 2 %); 0: 2 %. */
    double volumeTolerance;
    VeskHostProgress progress; /**< NULL for none */
    void *progressContext;
    /** NULL: the current level (libveskdll133, linked); else the earlier
     *  level's exports. */
    const VeskHostEarlierLevel *earlier;
} VeskHostRunOptions;

/** Fills `options` with the defaults (all 0, US units, no progress, the
 *  current level). */
VESK_HOST_API void vesk_host_run_options_init(VeskHostRunOptions *options);

/** A finished run: its steps, each basin's outflow and summary. */
typedef struct VeskHostRun VeskHostRun;

/** How a run ended. */
#define VESK_HOST_RUN_DRY 0       /**< every outflow came back to 0 after the storm */
#define VESK_HOST_RUN_DURATION 1  /**< the chosen duration was reached */
#define VESK_HOST_RUN_NOT_DRY 2   /**< an outflow was still not 0 long after the unit hydrographs */
#define VESK_HOST_RUN_LIMIT 3     /**< VESK_HOST_MAX_RUN_MINUTES reached while water drained */

/**
 * Runs every basin through the storm, then dry steps until every outflow is
 * exactly 0 (or for the duration).  The data step is the storm's step (or
 * options->timeStep; a storm without a step steps that many minutes, or
 * else the uhTimeStep the basins give, which must agree).
 *
 * Each basin is computed at its own step: the largest whole-minute step
 * that divides the data step at which its sampled unit hydrograph holds one
 * inch over the basin within the volume tolerance and which is at most half
 * its time to peak.  The rain of each data step is split evenly over the
 * basin's sub-steps; the library is called once per sub-step, from a fresh
 * registry.  A basin no step of 1 minute or more holds is refused with the
 * reason.  Peaks, peak times and volumes come from each basin's computation
 * steps; the hydrographs are reported every reportStep minutes (the value at
 * the end of each report step, on the straight line between two computation
 * steps where a report step ends between them).
 *
 * Notes and warnings (a peak too short for any step, a run cut short, a long
 * record as one event) are appended to `warnings`.  NULL on a refusal.
 */
VESK_HOST_API VeskHostRun *vesk_host_run(const VeskHostBasins *basins, const VeskHostStorm *storm,
                                         const VeskHostRunOptions *options, VeskHostWarnings *warnings,
                                         VeskHostStatus *status);
VESK_HOST_API void vesk_host_run_free(VeskHostRun *run);
/** Runs of several storms, each from fresh basins. */
typedef struct VeskHostStormRuns VeskHostStormRuns;

/**
 * Runs the basins through each of `count` storms named `names` (unique,
 * not empty, at most 255 bytes, no control characters), each as
 * vesk_host_run would and with the same bits; each basin's computation step
 * is chosen once per data step.  Notes and warnings are appended to
 * `warnings`, each led by "storm NAME: ".  NULL on a refusal.
 */
VESK_HOST_API VeskHostStormRuns *vesk_host_run_storms(const VeskHostBasins *basins,
                                                      const VeskHostStorm *const *storms, const char *const *names,
                                                      size_t count, const VeskHostRunOptions *options,
                                                      VeskHostWarnings *warnings, VeskHostStatus *status);
VESK_HOST_API void vesk_host_storm_runs_free(VeskHostStormRuns *runs);
VESK_HOST_API size_t vesk_host_storm_runs_count(const VeskHostStormRuns *runs);
/** The name of run `index`; "" when out of range. */
VESK_HOST_API const char *vesk_host_storm_runs_name(const VeskHostStormRuns *runs, size_t index);
/** Run `index` for the vesk_host_run_* queries; it belongs to `runs` (do
 *  not free it) and lives as long as `runs`.  NULL when out of range. */
VESK_HOST_API const VeskHostRun *vesk_host_storm_runs_run(const VeskHostStormRuns *runs, size_t index);

/** 1 when the run's storm was dated, with the civil minute at which the run
 *  starts in `*minute` (report step k ends (k + 1) * step minutes later);
 *  0 when it has no dates. */
VESK_HOST_API int32_t vesk_host_run_start(const VeskHostRun *run, int64_t *minute);
/** The report step, minutes: the step of the rain, outflow and outlet
 *  series. */
VESK_HOST_API int32_t vesk_host_run_step(const VeskHostRun *run);
/** The data step, minutes: the step of the rain the run was given. */
VESK_HOST_API int32_t vesk_host_run_data_step(const VeskHostRun *run);
/** The step basin `index` was computed at, minutes (it divides the data
 *  step); 0 when out of range. */
VESK_HOST_API int32_t vesk_host_run_computation_step(const VeskHostRun *run, size_t index);
/** The volume tolerance the computation steps were chosen with (0.02: 2 %). */
VESK_HOST_API double vesk_host_run_volume_tolerance(const VeskHostRun *run);
/** The report steps; report step k ends (k + 1) * step minutes after the
 *  start. */
VESK_HOST_API size_t vesk_host_run_length(const VeskHostRun *run);
/** VESK_HOST_RUN_DRY, _DURATION, _NOT_DRY or _LIMIT. */
VESK_HOST_API int32_t vesk_host_run_end(const VeskHostRun *run);
/** The units of the results (VESK_HOST_UNITS_US or _SI). */
VESK_HOST_API int32_t vesk_host_run_units(const VeskHostRun *run);
VESK_HOST_API size_t vesk_host_run_basin_count(const VeskHostRun *run);
/** The name of basin `index` of the run; "" when out of range. */
VESK_HOST_API const char *vesk_host_run_basin_name(const VeskHostRun *run, size_t index);
/** The basins the library refused to store when options->skipRefused was
 *  set: their count, names, the library's codes and the messages.  They
 *  are not among the run's basins. */
VESK_HOST_API size_t vesk_host_run_refused_count(const VeskHostRun *run);
VESK_HOST_API const char *vesk_host_run_refused_name(const VeskHostRun *run, size_t index);
VESK_HOST_API int32_t vesk_host_run_refused_code(const VeskHostRun *run, size_t index);
VESK_HOST_API const char *vesk_host_run_refused_message(const VeskHostRun *run, size_t index);
/** Copies min(length, capacity) rain depths (in or mm per step); returns the
 *  length. */
VESK_HOST_API size_t vesk_host_run_rain(const VeskHostRun *run, double *depths, size_t capacity);
/** Copies min(length, capacity) outflows of basin `index` (cfs or m3/s at
 *  the end of each step); returns the length, 0 when out of range. */
VESK_HOST_API size_t vesk_host_run_outflow(const VeskHostRun *run, size_t index, double *flows, size_t capacity);
/** Every outflow at once, basin by basin: `flows` holds basin_count *
 *  length values, row b the outflow of basin b.  Returns the values
 *  written: 0 when `capacity` is too small. */
VESK_HOST_API size_t vesk_host_run_outflows(const VeskHostRun *run, double *flows, size_t capacity);
/** Copies min(length, capacity) values of the outlet, the sum of every
 *  basin's outflow at each report step; returns the length. */
VESK_HOST_API size_t vesk_host_run_outlet(const VeskHostRun *run, double *flows, size_t capacity);
/** The outlet's first largest value (cfs or m3/s) and its time (minutes),
 *  on the finest grid every basin's computation steps reach (the greatest
 *  common divisor of their steps), whatever the report step. */
VESK_HOST_API int32_t vesk_host_run_outlet_peak(const VeskHostRun *run, double *peak, double *minutes);
/** The record of basin `index` as the library prepared it (fractions,
 *  coefficients and shape filled in, unit-hydrograph figures). */
VESK_HOST_API int32_t vesk_host_run_prepared(const VeskHostRun *run, size_t index, BasinInput *record);
/** Copies min(count, capacity) unit-hydrograph ordinates of basin `index`
 *  (cfs per in, or m3/s per mm), one per step; returns their count. */
VESK_HOST_API size_t vesk_host_run_ordinates(const VeskHostRun *run, size_t index, double *ordinates,
                                             size_t capacity);

/* ------------------------------------------------------------------------ */
/* Summary figures                                                           */

/** The number of summary figures a basin has. */
VESK_HOST_API size_t vesk_host_summary_field_count(void);
/** The name of figure `index` in `units`, with its unit ("area_sq_mi",
 *  "peak_outflow_cfs", "rain_volume_acre_ft", "runoff_coefficient", ...;
 *  "peak_outflow_m3s" in SI): the names of `vesk run --summary`.  "" when
 *  out of range. */
VESK_HOST_API const char *vesk_host_summary_field_name(size_t index, int32_t units);
/** The unit of figure `index` ("sq mi", "cfs", "min", "%", "" for a plain
 *  number). */
VESK_HOST_API const char *vesk_host_summary_field_unit(size_t index, int32_t units);
/** Copies min(count, capacity) figures of basin `index` in the run's units
 *  and the order of the names; returns the count (0 when out of range). */
VESK_HOST_API size_t vesk_host_run_summary(const VeskHostRun *run, size_t index, double *figures,
                                           size_t capacity);
/** The same for the outlet, where the run's basins meet: its area (their
 *  total), peak and peak time (see vesk_host_run_outlet_peak), the summed
 *  volumes and their runoff coefficient; NaN for the figures only a basin
 *  has.  The summary files hold it as the record named "outlet", first,
 *  when several basins run. */
VESK_HOST_API size_t vesk_host_run_outlet_summary(const VeskHostRun *run, double *figures, size_t capacity);
/** Every basin's figures at once, basin by basin: `figures` holds
 *  basin_count * field_count values, row b the figures of basin b in the
 *  order of the names (what vesk_host_run_summary copies for each basin).
 *  Returns the values written: 0 when `capacity` is too small. */
VESK_HOST_API size_t vesk_host_run_summaries(const VeskHostRun *run, double *figures, size_t capacity);

/* ------------------------------------------------------------------------ */
/* Stepwise sessions                                                         */

/** Basins stepped one step of rain at a time, for hosts that act between
 *  steps (coupled models, simulations shown as they go). */
typedef struct VeskHostSession VeskHostSession;

/** Adds every basin to a fresh registry of the chosen level, each at its
 *  computation step (as a run chooses it) within the data step
 *  options->timeStep (1 to 1440; required here).  Only the latest step is
 *  kept, so a session may step for years.  NULL on a refusal. */
VESK_HOST_API VeskHostSession *vesk_host_session_start(const VeskHostBasins *basins,
                                                       const VeskHostRunOptions *options, VeskHostStatus *status);
VESK_HOST_API void vesk_host_session_free(VeskHostSession *session);
/**
 * One data step.  `inches` holds one depth for every basin (`count` = the
 * basin count) or one for all (`count` = 1), each from 0 to 100 in, split
 * evenly over each basin's sub-steps.  The outflow of each basin at the end
 * of the step (cfs) is written to `outflows` and its excess depth over the
 * step (in) to `excess`, each of the basin count; either may be NULL.  After
 * a refusal in the middle of a step the session takes no more steps.
 */
VESK_HOST_API int32_t vesk_host_session_step(VeskHostSession *session, const double *inches, size_t count,
                                             double *outflows, double *excess, VeskHostStatus *status);
/** Minutes at the end of the latest step (0 before the first). */
VESK_HOST_API int64_t vesk_host_session_time(const VeskHostSession *session);
VESK_HOST_API size_t vesk_host_session_basin_count(const VeskHostSession *session);

#ifdef __cplusplus
}
#endif

#endif /* VESK_HOST_H */
