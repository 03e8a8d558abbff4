/* Links the installed earlier-level library: it opens without a handshake. */
#include <stdio.h>

#include <veskdll.h>

int main(void) {
    vesk_open();
    const int code = (int)vesk_geterror();
    vesk_free();
    printf("installed veskdll: code %d after opening\n", code);
    return code == VESK_OK ? 0 : 1;
}
