// The solver's final sums are carried in extended precision (long double).
// On 32-bit Windows long double lives on the x87 unit, whose precision a host
// may have lowered to 53 bits (many Windows runtimes start that way); the
// sums would then round like plain doubles.  The scope raises the x87 unit to
// its full 64-bit mantissa for the sums and gives the host its setting back.
// Elsewhere long double is unaffected by such settings and the scope is empty.
#pragma once

#if defined(_WIN32) && defined(__i386__)
#include <float.h>

namespace vesk {

class ExtendedPrecisionScope {
public:
    ExtendedPrecisionScope() : saved_(_controlfp(0, 0) & _MCW_PC) { _controlfp(_PC_64, _MCW_PC); }
    ~ExtendedPrecisionScope() { _controlfp(saved_, _MCW_PC); }
    ExtendedPrecisionScope(const ExtendedPrecisionScope &) = delete;
    ExtendedPrecisionScope &operator=(const ExtendedPrecisionScope &) = delete;

private:
    unsigned int saved_;
};

} // namespace vesk

#else

namespace vesk {

struct ExtendedPrecisionScope {
    ExtendedPrecisionScope() {}
};

} // namespace vesk

#endif
