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
 * two columns (the time at the end of each step, the depth) or of one
 * column of depths.  Header words name the units: time_min or time_h, and
 * depth_in or depth_mm; another unit word after time_ or depth_ is refused.
 * `units` is VESK_HOST_UNITS_US or _SI (a header naming the other unit is
 * refused) or VESK_HOST_UNITS_FROM_FILE.  Times must grow in equal steps of
 * whole minutes; a first time later than one step means dry steps before
 * it.  Depths must be finite, at least 0 and at most 100 in a step.
 */
VESK_HOST_API VeskHostStorm *vesk_host_storm_read(const char *path, int32_t units, VeskHostStatus *status);
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
/** The step in minutes, 0 for a storm of depths without times. */
VESK_HOST_API int32_t vesk_host_storm_step(const VeskHostStorm *storm);
/** The number of steps. */
VESK_HOST_API size_t vesk_host_storm_length(const VeskHostStorm *storm);
/** VESK_HOST_UNITS_US or _SI: the unit the depths were given in. */
VESK_HOST_API int32_t vesk_host_storm_units(const VeskHostStorm *storm);
/** Copies min(length, capacity) depths in inches into `inches`; returns the
 *  length. */
VESK_HOST_API size_t vesk_host_storm_depths(const VeskHostStorm *storm, double *inches, size_t capacity);

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
