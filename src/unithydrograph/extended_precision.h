// The solver's final sums are carried in extended precision (long double).
// On Windows long double lives on the x87 unit, whose precision a host may
// have lowered to 53 bits (32-bit runtimes often start that way, and 64-bit
// Windows starts every thread so); the sums would then round like plain
// doubles.  The scope raises the x87 unit to its full 64-bit mantissa for
// the sums and gives the host its setting back.  It sets the precision bits
// of the control word itself, since some runtimes ignore a precision request
// on x86-64.  Elsewhere long double is unaffected by such settings and the
// scope is empty.
#pragma once

#if defined(_WIN32) && (defined(__i386__) || defined(__x86_64__))

namespace vesk {

class ExtendedPrecisionScope {
public:
    ExtendedPrecisionScope() : saved_(x87ControlWord()) {
        setX87ControlWord(static_cast<unsigned short>(saved_ | kPrecisionBits));
    }
    ~ExtendedPrecisionScope() { setX87ControlWord(saved_); }
    ExtendedPrecisionScope(const ExtendedPrecisionScope &) = delete;
    ExtendedPrecisionScope &operator=(const ExtendedPrecisionScope &) = delete;

private:
    // Bits 8 and 9 of the control word: 11 is the 64-bit mantissa.
    static constexpr unsigned short kPrecisionBits = 0x0300;

    static unsigned short x87ControlWord() {
        unsigned short word = 0;
        __asm__ volatile("fnstcw %0" : "=m"(word));
        return word;
    }
    static void setX87ControlWord(unsigned short word) { __asm__ volatile("fldcw %0" : : "m"(word)); }

    unsigned short saved_;
};

} // namespace vesk

#else

namespace vesk {

struct ExtendedPrecisionScope {
    ExtendedPrecisionScope() {}
};

} // namespace vesk

#endif
