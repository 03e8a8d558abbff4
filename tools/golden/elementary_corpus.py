#!/usr/bin/python3
"""Writes tests/golden/elementary_functions.txt: inputs of exp and pow with
their correctly rounded results as exact bit patterns.

The results come from the evaluator's decimal-and-fractions evaluation
(cr_exp, cr_pow in tools/golden/evaluate.py), never from the library.  A case
is marked 'hard' when its exact result lies within 2^-16 units in the last
place of a rounding boundary (or on one): closer than the fast paths' error
bounds (2^-13 units and more) can decide, so the accurate path must.  Hard
cases are found by searches here: exact rational powers for integer
exponents, the series of e^x for tiny x, and random sampling.

    tools/golden/elementary_corpus.py           rewrite the corpus
    tools/golden/elementary_corpus.py --check   exit 1 when it differs
"""
import decimal
import math
import os
import random
import struct
import sys
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from evaluate import cr_exp, cr_pow  # noqa: E402  the independent evaluation

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
CORPUS = os.path.join(ROOT, 'tests', 'golden', 'elementary_functions.txt')
HARD = Fraction(1, 2 ** 16)  # in units in the last place
INF = math.inf
NAN = math.nan


def bits(x):
    return '%016x' % struct.unpack('<Q', struct.pack('<d', x))[0]


def ulp_position(q):
    """Where the fraction q > 0 lies between two doubles, in units of their gap:
    0 on a double, 1/2 on a midpoint.  Subnormal spacing below 2^-1022."""
    e = q.numerator.bit_length() - q.denominator.bit_length()
    if Fraction(2) ** e > q:
        e -= 1
    quantum = Fraction(2) ** (max(e, -1022) - 52)
    return (q / quantum) % 1


def boundary_distance(q):
    """Distance of q from the nearest midpoint, in units in the last place."""
    return abs(ulp_position(q) - Fraction(1, 2))


def exp_exact(x, digits=30):
    return Fraction(decimal.Context(prec=digits).exp(decimal.Decimal(x)))


def pow_exact(x, y, digits=30):
    if y == int(y) and abs(y) <= 64:
        return Fraction(x) ** int(y)
    wide = decimal.Context(prec=digits + 20)
    z = wide.multiply(wide.ln(decimal.Decimal(x)), decimal.Decimal(y))
    return Fraction(decimal.Context(prec=digits).exp(z))


def nearby(x, count):
    """x and the doubles next to it, `count` on each side."""
    out = [x]
    up = down = x
    for _ in range(count):
        up = math.nextafter(up, INF)
        down = math.nextafter(down, -INF)
        out += [up, down]
    return out


# ---------------------------------------------------------------- exp cases
def exp_special():
    xs = [NAN, INF, -INF, 0.0, -0.0, 5e-324, -5e-324, 1.0, -1.0, 0.5, 2.0, 10.0, -10.0, 100.0, -100.0]
    for e in (-60, -54, -53, -52, -30):
        xs += nearby(2.0 ** e, 1) + nearby(-(2.0 ** e), 1)
    xs += nearby(709.782712893384, 3)      # overflow threshold
    xs += [709.0, 709.78, 709.79, 710.0, 1000.0, 1e308, -1e308, -708.0, -708.3964185322641]
    xs += nearby(-708.3964185322641, 2)   # the smallest normal result
    xs += nearby(-745.1332191019411, 3)   # half the least subnormal
    xs += nearby(-744.4400719213812, 2)   # the least subnormal
    xs += [-745.0, -745.2, -746.0, -720.0, -730.5, -740.25]
    return xs


def exp_library_ranges(rng):
    xs = []
    for _ in range(300):  # Horton decay: -k t, k up to 0.01/s, t up to ten days
        xs.append(-rng.uniform(0.0, 0.01) * float(60 * rng.randrange(0, 14400)))
    for _ in range(100):  # flow-path cutoff: -0.035 x
        xs.append(-0.035 * rng.uniform(0.0, 2000.0))
    for _ in range(100):  # effective impervious area exponents
        xs.append(rng.uniform(-40.0, 0.0))
    for _ in range(300):
        xs.append(rng.uniform(-745.5, 709.9))
    for _ in range(100):
        xs.append(rng.uniform(-1.0, 1.0) * 2.0 ** rng.randrange(-60, 0))
    return xs


def exp_hard_tiny(rng, count):
    """x = n 2^-80 in [2^-28, 2^-27): e^x - 1 = x + x^2/2 + x^3/6 + ..., so n's low
    bits can be chosen to put 1 + x + x^2/2 + ... within about 2^-29 units of
    a midpoint of the doubles next to 1 (spacing 2^-52)."""
    out = []
    for _ in range(count):
        n = rng.randrange(2 ** 52, 2 ** 53)
        for _ in range(3):
            x = Fraction(n, 2 ** 80)
            rest = (x * x / 2 + x ** 3 / 6 + x ** 4 / 24) * 2 ** 52
            want = (Fraction(1, 2) - rest) % 1  # wanted fraction of x 2^52
            n = (n >> 28 << 28) + round(want * 2 ** 28)
        out.append(math.ldexp(n, -80))
        out.append(-math.ldexp(n, -80))
    return out


def random_hard(rng, sample, exact, count, tries):
    found = []
    for _ in range(tries):
        args = sample(rng)
        if boundary_distance(exact(*args)) < HARD:
            found.append(args)
            if len(found) == count:
                break
    return found


# ---------------------------------------------------------------- pow cases
def pow_special():
    zeros_infs = [0.0, -0.0, INF, -INF]
    ys = [NAN, INF, -INF, 0.0, -0.0, 1.0, -1.0, 2.0, -2.0, 3.0, -3.0, 0.5, -0.5, 2.5, -2.5, 1e300, -1e300]
    cases = [(x, y) for x in zeros_infs + [NAN, 1.0, -1.0, 0.5, -0.5, 2.0, -2.0, 5e-324, -5e-324] for y in ys]
    cases += [(1.0, NAN), (NAN, 0.0), (-1.0, INF), (-1.0, -INF), (-3.0, 0.25), (-3.0, 1e300), (-3.0, 2.0 ** 53 + 2),
              (-3.0, -(2.0 ** 53)), (-2.0, 2.0 ** 52 + 1), (1.0 + 2.0 ** -52, 2.0 ** 60), (1.0 - 2.0 ** -53, 2.0 ** 60),
              (1.0 + 2.0 ** -52, 2.0 ** 52), (1.0 - 2.0 ** -53, -(2.0 ** 53)), (2.0, 2.0 ** -90), (2.0, -(2.0 ** -90)),
              (1e300, 2.0 ** -81), (0.3, 2.0 ** 81), (3.0, -(2.0 ** 81))]
    # powers of two and overflow/underflow edges
    cases += [(2.0, 1023.0), (2.0, 1024.0), (2.0, -1022.0), (2.0, -1074.0), (2.0, -1075.0), (2.0, -1076.0),
              (0.5, 1074.0), (0.5, 1075.0), (-2.0, -1075.0), (-2.0, -1074.0), (-0.5, 1075.0), (0.5, 1074.5),
              (2.0, 1023.9999999999999), (2.0, -1074.5), (2.0, -1074.9999999999998), (4.0, -537.5),
              (1.7976931348623157e308, 1.0), (1.7976931348623157e308, 1.0000000000000002),
              (1.7976931348623157e308, 0.5), (5e-324, 0.5), (5e-324, -0.5), (5e-324, 1.0), (5e-324, 2.0),
              (2.2250738585072014e-308, 1.0), (2.2250738585072014e-308, 0.5), (10.0, 308.0), (10.0, 309.0),
              (10.0, -323.0), (10.0, -324.0), (10.0, -307.5), (3.0, 646.0), (3.0, 647.0), (3.0, -678.0)]
    # exact results and exact midpoints (ties to even)
    m27, m18 = 2 ** 27 - 1, 2 ** 18 - 1
    cases += [(4.0, 0.5), (16.0, 0.25), (8.0, 1.0 / 3.0), (9.0, 1.5), (2.0 ** -1074, 0.5), (27.0, 2.0 / 3.0),
              (math.ldexp(m27, -26), 2.0), (-math.ldexp(m27, -26), 2.0), (math.ldexp(m27 - 2, -26), 2.0),
              (math.ldexp(m18, -18), 3.0), (-math.ldexp(m18, -18), 3.0), (math.ldexp(m18 * m18, -36), 1.5),
              (math.ldexp(1773 * 1773, -22), 2.5), (float(3 ** 32), 1.0 / 32), (float(3 ** 32), 33.0 / 32),
              (math.ldexp(3.0, -215), 5.0), (math.ldexp(-3.0, -215), 5.0), (math.ldexp(5.0, -359), 3.0),
              (math.ldexp(m18 * m18, -1100 // 3 * 2), 1.5), (0.25, 0.5), (1e-300, 2.0), (1e-160, 2.0)]
    # ties on the subnormal grid: k^5 2^-1075 and (k^2 2^-430)^2.5 = k^5 2^-1075
    for k in range(3, 1400, 97):
        cases += [(math.ldexp(k, -215), 5.0), (math.ldexp(-k, -215), 5.0), (math.ldexp(k * k, -430), 2.5)]
    return cases


def pow_library_ranges(rng):
    cases = []
    for _ in range(150):
        area = math.exp(rng.uniform(math.log(0.001), math.log(200.0)))
        cases += [(area, 0.15), (area, -0.31)]
    for _ in range(150):
        cases.append((math.exp(rng.uniform(math.log(0.005), math.log(5000.0))), 0.48))
    for _ in range(150):
        cases.append((rng.uniform(1.0, 200.0), rng.uniform(0.4, 1.3)))
    for _ in range(100):
        cases += [(rng.uniform(1.0, 5000.0), 0.5), (rng.uniform(0.0005, 0.2), 0.33)]
    for _ in range(150):
        t = rng.uniform(0.0, 1500.0)
        cases += [(t, 3.0), (t, 4.0), (rng.uniform(0.0, 1.0), 3.0)]
    for _ in range(300):
        x = math.exp(rng.uniform(-40.0, 40.0)) * rng.choice((1.0, -1.0))
        cases.append((x, float(rng.randrange(-64, 65))))
    for _ in range(300):
        cases.append((math.exp(rng.uniform(-700.0, 700.0)), rng.uniform(-3.0, 3.0)))
    for _ in range(150):
        k = rng.randrange(1, 2 ** 20)
        x = 1.0 + rng.choice((1.0, -0.5)) * k * 2.0 ** -52
        cases.append((x, rng.uniform(-1.0, 1.0) * 2.0 ** rng.randrange(0, 62)))
    for _ in range(100):  # subnormal arguments and results
        x = rng.uniform(0.0, 1.0) * 2.0 ** -1022
        cases += [(x, rng.uniform(0.1, 1.2)), (rng.uniform(0.0001, 0.5), rng.uniform(250.0, 1100.0))]
    return cases


def integer_hard(rng, exponent, count, tries, low, high):
    """x^n is an exact rational: search its position cheaply."""
    found = []
    for _ in range(tries):
        x = rng.uniform(low, high)
        q = Fraction(x) ** exponent
        if boundary_distance(q) < HARD:
            found.append((x, float(exponent)))
            if len(found) == count:
                break
    return found


# ---------------------------------------------------------------- the corpus
def line_exp(x, hard):
    return 'exp %s = %s%s' % (bits(x), bits(cr_exp(x)), ' hard' if hard else '')


def line_pow(x, y, hard):
    return 'pow %s %s = %s%s' % (bits(x), bits(y), bits(cr_pow(x, y)), ' hard' if hard else '')


def is_hard_exp(x):
    if not math.isfinite(x) or x == 0.0 or not (-745.2 < x < 709.8):
        return False
    return boundary_distance(exp_exact(x)) < HARD


def is_hard_pow(x, y):
    if not (math.isfinite(x) and math.isfinite(y)) or x <= 0.0 or x == 1.0 or y == 0.0:
        return False
    q = Fraction(x) ** int(y) if y == int(y) and abs(y) <= 64 else None
    if q is None:
        z = math.log(x) * y
        if not (-745.3 < z < 709.9) or abs(y) > 2.0 ** 80 or abs(y) < 2.0 ** -80:
            return False
        q = pow_exact(x, y)
    return q != 0 and boundary_distance(q) < HARD


def corpus():
    rng = random.Random(20240611)
    lines = ['# Correctly rounded exp and pow: written by tools/golden/elementary_corpus.py from',
             '# the decimal evaluation of tools/golden/evaluate.py.  Do not edit.',
             '#   exp X = RESULT [hard]      pow X Y = RESULT [hard]      (bit patterns in hex)',
             '# hard: within 2^-16 units in the last place of a rounding boundary, or on one.']
    exps = exp_special() + exp_library_ranges(rng) + exp_hard_tiny(rng, 20)
    exps += [a[0] for a in random_hard(rng, lambda r: (r.uniform(-745.0, 709.0),), exp_exact, 12, 1000000)]
    exps += [a[0] for a in random_hard(rng, lambda r: (r.uniform(-1.0, 1.0),), exp_exact, 6, 1000000)]
    for x in exps:
        lines.append(line_exp(x, is_hard_exp(x)))
    pows = pow_special() + pow_library_ranges(rng)
    pows += integer_hard(rng, 3, 12, 1000000, 0.0, 1500.0)
    pows += integer_hard(rng, 4, 8, 1000000, 0.0, 1500.0)
    pows += integer_hard(rng, 3, 6, 1000000, 0.0, 1.0)
    pows += integer_hard(rng, -7, 3, 1000000, 0.5, 2.0)
    pows += random_hard(rng, lambda r: (math.exp(r.uniform(math.log(0.001), math.log(200.0))), 0.15),
                        pow_exact, 4, 1000000)
    pows += random_hard(rng, lambda r: (r.uniform(0.01, 100.0), r.uniform(-3.0, 3.0)), pow_exact, 4, 1000000)
    for x, y in pows:
        lines.append(line_pow(x, y, is_hard_pow(x, y)))
    return '\n'.join(lines) + '\n'


def main():
    text = corpus()
    if '--check' in sys.argv[1:]:
        with open(CORPUS, encoding='utf-8') as f:
            if f.read() != text:
                print('%s no longer matches what %s writes' % (CORPUS, os.path.basename(__file__)), file=sys.stderr)
                return 1
        return 0
    with open(CORPUS, 'w', encoding='utf-8') as f:
        f.write(text)
    return 0


if __name__ == '__main__':
    sys.exit(main())
