/* Links the installed current-level library: handshake, one basin, one step
 * and a calculator. */
#include <stdio.h>

#include <veskdll133.h>

int main(void) {
    const VersionStamp stamp = VESK_VERSION_STAMP_INIT;
    BasinInput basin = {0};
    double outflow;

    vesk_open();
    vesk_checkversion(&stamp);
    basin.area = 0.1;
    basin.length = 0.4;
    basin.centroidLength = 0.2;
    basin.imperviousPct = 100.0;
    basin.slope = 0.01;
    basin.timeStep = 5.0;
    basin.shape.uhTimeStep = 5;
    vesk_addbasin(&basin, "lot");
    outflow = vesk_execute("lot", 1.0, 5);
    printf("installed veskdll133: code %d, first outflow %g cfs, calcMinTc(25) = %g\n", (int)vesk_geterror(),
           outflow, vesk_calcMinTc(25.0));
    vesk_free();
    return vesk_geterror() == VESK_OK && outflow > 0.0 && vesk_calcMinTc(25.0) == 10.0 ? 0 : 1;
}
