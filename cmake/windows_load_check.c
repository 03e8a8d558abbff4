/*
 * Loads a level's DLL the way a Windows host does and binds every export by
 * its undecorated name.  Fails when the DLL does not load (for instance
 * because it needs a DLL that Windows lacks) or when a name does not bind.
 * Built beside the DLL by cmake/windows_exports.cmake, which generates
 * export_names.h from the level's export list.
 */
#include <stdio.h>
#include <windows.h>

static const char *const kExportNames[] = {
#include "export_names.h"
};

int main(void) {
    HMODULE dll = LoadLibraryA(VESK_DLL_NAME);
    if (dll == NULL) {
        printf("%s does not load (error %lu)\n", VESK_DLL_NAME, (unsigned long)GetLastError());
        return 1;
    }
    size_t unbound = 0;
    const size_t count = sizeof kExportNames / sizeof kExportNames[0];
    for (size_t i = 0; i < count; ++i) {
        if (GetProcAddress(dll, kExportNames[i]) == NULL) {
            printf("%s: no export %s\n", VESK_DLL_NAME, kExportNames[i]);
            ++unbound;
        }
    }
    FreeLibrary(dll);
    printf("%s: %u of %u names bound\n", VESK_DLL_NAME, (unsigned)(count - unbound), (unsigned)count);
    return unbound == 0 ? 0 : 1;
}
