/* The earlier level's header compiles as C11 on its own, and a C host can
 * drive that library with it: no handshake, a basin added and stepped. */
#include "veskdll.h"

#include <stdio.h>
#include <string.h>

int main(void) {
    BasinInput basin;
    StepState step;
    double outflow = 0.0;
    int i;
    memset(&basin, 0, sizeof basin);
    basin.area = 1.0;
    basin.length = 2.0;
    basin.centroidLength = 1.0;
    basin.imperviousPct = 40.0;
    basin.slope = 0.02;
    basin.imperviousDepressionStorage = 0.1;
    basin.perviousDepressionStorage = 0.3;
    basin.initialInfiltrationRate = 4.0;
    basin.finalInfiltrationRate = 0.8;
    basin.infiltrationDecay = 0.0015;
    basin.shape.uhTimeStep = 5;

    vesk_open();
    if (vesk_geterror() != VESK_OK) return 1;
    vesk_addbasin(&basin, "c-basin");
    if (vesk_geterror() != VESK_OK) return 2;
    for (i = 0; i < 6; ++i) outflow = vesk_execute("C-BASIN", 0.4, 0);
    vesk_getbasin_precip("c-basin", &step);
    if (vesk_geterror() != VESK_OK || outflow <= 0.0 || step.clock != 30.0) return 3;
    printf("C host: earlier level, outflow %.3f cfs after %.0f minutes\n", outflow, step.clock);
    vesk_free();
    return 0;
}
