/* The public header compiles as C11 on its own, and a C host can call the
 * library with it: this program links the shared library and runs the
 * handshake. */
#include "veskdll133.h"

#include <stdio.h>

int main(void) {
    VersionStamp stamp;
    vesk_open();
    if (vesk_geterror() != VESK_ERR_VERSION_UNCONFIRMED) return 1;
    vesk_getversion(&stamp);
    vesk_checkversion(&stamp);
    if (vesk_geterror() != VESK_OK) return 2;
    vesk_free();
    printf("C host: version %d.%d.%d.%d accepted\n", stamp.major, stamp.minor, stamp.release, stamp.build);
    return 0;
}
