#!/usr/bin/python3
"""Writes the constant tables of src/base/elementary_functions.cpp.

Every constant is worked out with exact rational arithmetic (fractions) from
values of exp and ln evaluated with decimal at 80 significant digits, far
beyond the 160 bits the longest constant keeps, and written as hexadecimal
float literals between the lines '// BEGIN GENERATED TABLES' and
'// END GENERATED TABLES' of the source.  A value kept as several doubles is
split greedily: each part is the double nearest what the parts before it
leave over, or, where a product by an integer must stay exact, that
remainder cut to a stated number of leading bits.

    tools/golden/elementary_tables.py           rewrite the tables in the source
    tools/golden/elementary_tables.py --check   exit 1 when the source differs
"""
import decimal
import os
import sys
from fractions import Fraction

SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..',
                                       'src', 'base', 'elementary_functions.cpp'))
BEGIN = '// BEGIN GENERATED TABLES (tools/golden/elementary_tables.py)\n'
END = '// END GENERATED TABLES\n'

EXP_BITS = 7        # 2^7 entries of 2^(j/128)
LOG_BITS = 7        # 2^7 buckets of the significand for the logarithm
LOG_OFFSET = 0x3fe6000000000000  # bits of 0.6875: the significand is taken in [0.6875, 1.375)
INVERSE_BITS = 8    # significant bits of each bucket's inverse, so that m * c - 1 is exact
EXP_TAYLOR = 13     # 1/n! for n = 0..13
LOG_TAYLOR = 22     # (-1)^(n+1)/n for n = 1..22

CONTEXT = decimal.Context(prec=80, rounding=decimal.ROUND_HALF_EVEN)


def exact(d):
    """A Decimal as an exact fraction."""
    return Fraction(d)


def ln2():
    return exact(CONTEXT.ln(decimal.Decimal(2)))


def nearest(q):
    """The double nearest the fraction q (ties to even); float(Fraction) rounds correctly."""
    return float(q)


def truncated(q, bits):
    """q cut toward zero to its leading `bits` significant bits."""
    if q == 0:
        return 0.0
    sign = -1 if q < 0 else 1
    a = abs(q)
    e = 0
    while a >= 2:
        a /= 2
        e += 1
    while a < 1:
        a *= 2
        e -= 1
    scaled = int(a * 2 ** (bits - 1))  # floor: a in [1, 2)
    return sign * float(Fraction(scaled, 2 ** (bits - 1)) * Fraction(2) ** e)


def rounded(q, bits):
    """q rounded to nearest (ties away, never met here) at `bits` significant bits."""
    low = truncated(q, bits)
    step = Fraction(2) ** (significant_exponent(q) - bits + 1)
    return float(Fraction(low) + step) if q - Fraction(low) > step / 2 else low


def significant_exponent(q):
    """e with 2^e <= q < 2^(e+1), for q > 0."""
    e = 0
    while q >= 2:
        q /= 2
        e += 1
    while q < 1:
        q *= 2
        e -= 1
    return e


def parts(q, count):
    """q as `count` doubles, each the nearest double to what the earlier ones leave."""
    out = []
    rest = q
    for _ in range(count):
        p = nearest(rest)
        out.append(p)
        rest -= Fraction(p)
    return out


def significant_bits(x):
    """Number of significant bits of a finite double."""
    if x == 0.0:
        return 0
    n, d = Fraction(x).as_integer_ratio()
    n = abs(n)
    while n % 2 == 0:
        n //= 2
    while d % 2 == 0 and d > 1:
        d //= 2
    return n.bit_length()


def hexfloat(x):
    """A C hexadecimal float literal that reads back as exactly x."""
    if x == 0.0:
        return '0.0'
    text = float(x).hex()  # e.g. '-0x1.62e42fefa39efp-8'
    return text.replace('0x1.0000000000000p', '0x1p')


def c_bucket_bounds(i):
    """The significands m of bucket i of the logarithm: [low, high) as fractions."""
    low_bits = LOG_OFFSET + (i << (52 - LOG_BITS))
    high_bits = LOG_OFFSET + ((i + 1) << (52 - LOG_BITS))
    return bits_to_fraction(low_bits), bits_to_fraction(high_bits)


def bits_to_fraction(bits):
    exponent = (bits >> 52) - 1023
    mantissa = (1 << 52) | (bits & ((1 << 52) - 1))
    return Fraction(mantissa, 1 << 52) * Fraction(2) ** exponent


def seven_bit_candidates(q):
    """The numbers of INVERSE_BITS significant bits just below and above q."""
    e = 0
    a = q
    while a >= 1:
        a /= 2
        e += 1
    while a < Fraction(1, 2):
        a *= 2
        e -= 1
    unit = Fraction(1, 2 ** INVERSE_BITS) * Fraction(2) ** e
    low = (q // unit) * unit
    return [low - unit, low, low + unit, low + 2 * unit]


def bucket_inverse(i):
    """The inverse c of bucket i and the largest |m c - 1| over the bucket.

    The buckets next to 1 take c = 1, so that ln x for x near 1 is the series
    alone, with no cancellation against a tabulated logarithm."""
    low, high = c_bucket_bounds(i)
    if low <= 1 < high or high == 1:
        c = Fraction(1)
    else:
        centre = (low + high) / 2
        c = min(seven_bit_candidates(1 / centre),
                key=lambda c: max(abs(low * c - 1), abs(high * c - 1)))
    return c, max(abs(low * c - 1), abs(high * c - 1))


def generate():
    L = ln2()
    lines = []
    emit = lines.append

    # ---------------------------------------------------------------- exp
    step = L / 2 ** EXP_BITS
    step1 = truncated(step, 35)
    step2 = truncated(step - Fraction(step1), 35)
    step3, step4 = parts(step - Fraction(step1) - Fraction(step2), 2)
    fast2 = nearest(step - Fraction(step1))
    # The reduction x - k * step1 is exact by Sterbenz's lemma only if step1 does
    # not exceed ln 2 / 128 by more than the rounding of k allows.
    assert Fraction(step1) <= step * (1 - Fraction(1, 2 ** 45))
    assert significant_bits(step1) <= 35 and significant_bits(step2) <= 35
    inv = nearest(2 ** EXP_BITS / L)
    emit('// 128 / ln 2, nearest double; only chooses k, so its rounding costs nothing.')
    emit('constexpr double kExpInvStep = %s;' % hexfloat(inv))
    emit('// ln 2 / 128 = kExpStep1 + kExpStep2 + kExpStep3 + kExpStep4 (error below 2^-180).')
    emit('// kExpStep1 and kExpStep2 have 35 significant bits each, so k * part is exact')
    emit('// for |k| < 2^18; kExpStep1 is cut toward zero.  kExpStepTail is the double')
    emit('// nearest ln 2 / 128 - kExpStep1, for the fast path.')
    emit('constexpr double kExpStep1 = %s;' % hexfloat(step1))
    emit('constexpr double kExpStep2 = %s;' % hexfloat(step2))
    emit('constexpr double kExpStep3 = %s;' % hexfloat(step3))
    emit('constexpr double kExpStep4 = %s;' % hexfloat(step4))
    emit('constexpr double kExpStepTail = %s;' % hexfloat(fast2))
    emit('')
    emit('// 2^(j/128) = hi + mid + lo, each the double nearest what the earlier parts')
    emit('// leave (relative error below 2^-158).')
    emit('constexpr Triple kExpTable[128] = {')
    for j in range(2 ** EXP_BITS):
        v = exact(CONTEXT.power(decimal.Decimal(2), CONTEXT.divide(decimal.Decimal(j), decimal.Decimal(128))))
        # 2^(j/128) from exp(j ln2 / 128) as a cross-check of decimal's power.
        w = exact(CONTEXT.exp(CONTEXT.multiply(decimal.Decimal(j) / 128, CONTEXT.ln(decimal.Decimal(2)))))
        assert abs(v - w) <= v * Fraction(1, 10 ** 75)
        p = parts(v, 3)
        emit('    {%s, %s, %s},' % tuple(hexfloat(x) for x in p))
    emit('};')
    emit('')
    emit('// The fast path\'s 2^(j/128) = hi + lo, hi of 41 significant bits (nearest) so')
    emit('// that hi times a number of 12 bits is exact, lo the double nearest the rest')
    emit('// (relative error below 2^-94).')
    emit('constexpr Pair kExpFastTable[128] = {')
    for j in range(2 ** EXP_BITS):
        v = exact(CONTEXT.power(decimal.Decimal(2), CONTEXT.divide(decimal.Decimal(j), decimal.Decimal(128))))
        hi = rounded(v, 41)
        assert significant_bits(hi) <= 41
        emit('    {%s, %s},' % (hexfloat(hi), hexfloat(nearest(v - Fraction(hi)))))
    emit('};')
    emit('')
    emit('// 1/n! = hi + mid + lo for n = 0..%d.' % EXP_TAYLOR)
    emit('constexpr Triple kInverseFactorial[%d] = {' % (EXP_TAYLOR + 1))
    f = 1
    for n in range(EXP_TAYLOR + 1):
        if n > 0:
            f *= n
        emit('    {%s, %s, %s},' % tuple(hexfloat(x) for x in parts(Fraction(1, f), 3)))
    emit('};')
    emit('')

    # ---------------------------------------------------------------- log
    ln2_1 = truncated(L, 42)
    ln2_2 = truncated(L - Fraction(ln2_1), 42)
    ln2_3, ln2_4 = parts(L - Fraction(ln2_1) - Fraction(ln2_2), 2)
    ln2_fast = nearest(L - Fraction(ln2_1))
    emit('// ln 2 = kLn2Part1 + kLn2Part2 + kLn2Part3 + kLn2Part4 (error below 2^-190); the')
    emit('// first two have 42 significant bits, so E * part is exact for |E| < 2^11.')
    emit('// kLn2Tail is the double nearest ln 2 - kLn2Part1, for the fast path.')
    emit('constexpr double kLn2Part1 = %s;' % hexfloat(ln2_1))
    emit('constexpr double kLn2Part2 = %s;' % hexfloat(ln2_2))
    emit('constexpr double kLn2Part3 = %s;' % hexfloat(ln2_3))
    emit('constexpr double kLn2Part4 = %s;' % hexfloat(ln2_4))
    emit('constexpr double kLn2Tail = %s;' % hexfloat(ln2_fast))
    emit('')
    worst = Fraction(0)
    rows = []
    for i in range(2 ** LOG_BITS):
        c, spread = bucket_inverse(i)
        worst = max(worst, spread)
        assert significant_bits(float(c)) <= INVERSE_BITS and Fraction(float(c)) == c
        if c == 1:
            minus_log = [0.0, 0.0, 0.0]
        else:
            minus_log = parts(-exact(CONTEXT.ln(decimal.Decimal(c.numerator) / decimal.Decimal(c.denominator))), 3)
        rows.append((float(c), minus_log))
    # |r| < 2^-7 keeps m * c - 1, a multiple of 2^-60, below 2^53 units: exact.
    # (The bound is a supremum: the top of each bucket belongs to the next.)
    assert worst <= Fraction(1, 128)
    emit('// Bucket i of the significand m in [0.6875, 1.375) holds the bit patterns')
    emit('// 0x3fe6000000000000 + i 2^45 up to the next; c is an inverse of %d significant bits of the' % INVERSE_BITS)
    emit('// bucket (1 for the two buckets next to 1) and -ln c = hi + mid + lo.')
    emit('// Over every bucket |m c - 1| < %s (the top of a bucket belongs to the next).' % (
        '2^-7' if worst == Fraction(1, 128) else float(worst).hex()))
    emit('constexpr LogBucket kLogTable[128] = {')
    for c, (h, m, l) in rows:
        emit('    {%s, {%s, %s, %s}},' % (hexfloat(c), hexfloat(h), hexfloat(m), hexfloat(l)))
    emit('};')
    emit('')
    emit('// (-1)^(n+1)/n = hi + mid + lo for n = 0..%d (n = 0 unused), the series of ln(1 + r).' % LOG_TAYLOR)
    emit('constexpr Triple kLogSeries[%d] = {' % (LOG_TAYLOR + 1))
    emit('    {0.0, 0.0, 0.0},')
    for n in range(1, LOG_TAYLOR + 1):
        v = Fraction(1 if n % 2 else -1, n)
        emit('    {%s, %s, %s},' % tuple(hexfloat(x) for x in parts(v, 3)))
    emit('};')
    return ''.join(line + '\n' for line in lines)


def main():
    check = '--check' in sys.argv[1:]
    with open(SOURCE, encoding='utf-8') as f:
        text = f.read()
    start = text.find(BEGIN)
    stop = text.find(END)
    if start < 0 or stop < start:
        print('%s has no generated-tables block' % SOURCE, file=sys.stderr)
        return 1
    new = text[:start + len(BEGIN)] + generate() + text[stop:]
    if check:
        if new != text:
            print('%s: the tables differ from what tools/golden/elementary_tables.py computes' % SOURCE,
                  file=sys.stderr)
            return 1
        return 0
    with open(SOURCE, 'w', encoding='utf-8') as f:
        f.write(new)
    return 0


if __name__ == '__main__':
    sys.exit(main())
