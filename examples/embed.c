/* Embedding the runoff library in a C program: open it, confirm the version,
 * add a basin, step it through a short storm, read the result, free it. */
#include <stdio.h>

#include "veskdll133.h"

int main(void) {
    /* The version this program was built against, from the header. */
    const VersionStamp expected = VESK_VERSION_STAMP_INIT;
    const double storm[6] = {0.10, 0.35, 0.60, 0.25, 0.10, 0.05}; /* inches per 5 min */
    BasinInput basin = {0};
    PrecipState state;
    double outflow = 0.0, peak = 0.0;
    int step, peakTime = 0;

    vesk_open();
    vesk_checkversion(&expected);
    if (vesk_geterror() != VESK_OK) {
        fprintf(stderr, "library version not accepted (code %d)\n", (int)vesk_geterror());
        vesk_free();
        return 1;
    }

    basin.area = 0.25;                      /* sq mi */
    basin.length = 0.8;                     /* mi */
    basin.centroidLength = 0.4;             /* mi */
    basin.imperviousPct = 60.0;             /* % */
    basin.slope = 0.01;                     /* ft/ft */
    basin.timeStep = 5.0;                   /* min, the simulation step */
    basin.imperviousDepressionStorage = 0.1; /* in */
    basin.perviousDepressionStorage = 0.35; /* in */
    basin.initialInfiltrationRate = 4.0;    /* in/h */
    basin.finalInfiltrationRate = 0.7;      /* in/h */
    basin.infiltrationDecay = 0.0015;       /* 1/s */
    basin.dcif = 0.7;                       /* connected share of the impervious area */
    basin.rpf = 0.4;                        /* receiving share of the pervious area */
    basin.shape.uhTimeStep = 5;             /* min; ct, cp and widths 0: derived */

    vesk_addbasin(&basin, "Elm Street");
    if (vesk_geterror() != VESK_OK) {
        fprintf(stderr, "basin refused (code %d)\n", (int)vesk_geterror());
        vesk_free();
        return 1;
    }

    /* One call per step: the target time is the end of the step in minutes.
     * After the storm the basin keeps draining with no rain. */
    for (step = 1; step <= 30; ++step) {
        const double rain = step <= 6 ? storm[step - 1] : 0.0;
        outflow = vesk_execute("Elm Street", rain, 5 * step);
        if (outflow > peak) {
            peak = outflow;
            peakTime = 5 * step;
        }
    }
    vesk_getbasin_precip("elm street", &state); /* names ignore letter case */
    if (vesk_geterror() != VESK_OK) {
        vesk_free();
        return 1;
    }

    printf("peak outflow %.2f cfs at %d min; %d unit-hydrograph ordinates; clock %d min\n", peak, peakTime,
           (int)vesk_getuhlength("Elm Street"), (int)state.time);
    vesk_free();
    return peak > 0.0 ? 0 : 1;
}
