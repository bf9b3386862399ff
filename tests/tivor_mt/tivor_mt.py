#!/usr/bin/env python3
"""Checks the numbers tivor draws against an independent MT19937.

For every option set of the table below, the expected output is computed
here with Python's own Mersenne Twister (random.seed of an int runs the
reference key-array initialisation on its 32-bit words, and
random.getrandbits(32) yields the raw outputs), then compared byte for byte
with what the real binary writes.

Usage: tivor_mt.py path/to/tivor
"""

import os
import random
import subprocess
import sys
import tempfile
import time

MASK = 0xFFFFFFFF

# What each option set should leave: the settings are written out by hand,
# not derived from the arguments, so that the table states the meaning of
# each command line.
DEFAULTS = dict(low=1, high=37, bits=False, seed=12345, idle=400, kb=32, csv=False, stdout=False)

TABLE = [
    ([], {}),
    (["-6"], dict(high=43)),
    (["-7"], {}),
    (["-6", "-7"], {}),
    (["-m"], dict(high=31)),
    (["-c"], dict(csv=True)),
    (["-g"], dict(bits=True)),
    (["-i0-63"], dict(low=0, high=63, bits=True)),
    (["-g", "-i5-20"], dict(low=5, high=20, bits=True)),
    (["-i5-20"], dict(low=5, high=20)),
    (["-i5-20", "-6"], dict(low=5, high=43)),
    (["-6", "-i5-20"], dict(low=5, high=20)),
    (["-i5_20"], dict(low=5, high=20)),
    (["-i05-020"], dict(low=5, high=20)),
    (["-i0-99"], dict(low=0, high=99)),
    (["-i7-7"], dict(low=7, high=7)),
    (["-6", "-ix5-20"], {}),
    (["-6", "-i20"], {}),
    (["-i5-20", "-i"], {}),
    (["-i5-20", "-i-20"], {}),
    (["-i5-20", "-i520"], {}),
    (["-k0"], dict(kb=0)),
    (["-k0", "-g"], dict(kb=0, bits=True)),
    (["-k1"], dict(kb=1)),
    (["-k27"], dict(kb=27)),
    (["-k27", "-c"], dict(kb=27, csv=True)),
    (["-k3", "-kx"], {}),
    (["-f0"], dict(idle=0)),
    (["-f"], dict(idle=0)),
    (["-f17"], dict(idle=17)),
    (["-f17", "-f-3"], {}),
    (["-r"], dict(stdout=True)),
    (["-c", "-r"], dict(csv=True, stdout=True)),
    (["-r", "-g", "-c", "-k2"], dict(bits=True, csv=True, stdout=True, kb=2)),
    (["-s12345"], {}),
    (["-s1000012345"], {}),
    (["-s3000012345"], dict(seed=2147483647)),
    (["-s99999999999"], dict(seed=2147483647)),
    (["-s2147483647"], dict(seed=2147483647)),
    (["-s7"], dict(seed=7)),
    (["-s1000"], dict(seed=1000)),
    (["-s1000000000"], dict(seed=1000000000)),
    (["-s999999999"], dict(seed=999999999)),
    (["-s1999999999"], dict(seed=999999999)),
    (["-s5", "-sx"], {}),
    (["foo", "-x", "-cc", "-v", "-6x"], {}),
    (["-s424242", "-f3", "-i10-19", "-k2", "-c"],
     dict(seed=424242, idle=3, low=10, high=19, kb=2, csv=True)),
]

# Seeds that share their last six digits once raised to ten digits draw the
# same stream.
SAME_STREAM = [
    (["-s12345"], ["-s1000012345"]),
    (["-s12345"], ["-s2000012345"]),
    (["-s7"], ["-s1000000007"]),
]


def init_by_array(key):
    """The reference key-array initialisation, giving the 624 state words."""
    mt = [0] * 624
    mt[0] = 19650218
    for i in range(1, 624):
        mt[i] = (1812433253 * (mt[i - 1] ^ (mt[i - 1] >> 30)) + i) & MASK
    i, j = 1, 0
    for _ in range(max(624, len(key))):
        mt[i] = ((mt[i] ^ ((mt[i - 1] ^ (mt[i - 1] >> 30)) * 1664525)) + key[j] + j) & MASK
        i, j = i + 1, j + 1
        if i >= 624:
            mt[0], i = mt[623], 1
        if j >= len(key):
            j = 0
    for _ in range(623):
        mt[i] = ((mt[i] ^ ((mt[i - 1] ^ (mt[i - 1] >> 30)) * 1566083941)) - i) & MASK
        i += 1
        if i >= 624:
            mt[0], i = mt[623], 1
    mt[0] = 0x80000000
    return mt


def as_int(key):
    return sum(word << (32 * k) for k, word in enumerate(key))


def seeded(key):
    """A generator initialised by the four-word key array."""
    rng = random.Random()
    if key[-1] != 0:
        rng.seed(as_int(key))
    else:
        # random.seed drops leading zero words of the integer, which would
        # shorten the key: load the state computed here instead.
        rng.setstate((3, tuple(init_by_array(key)) + (624,), None))
    return rng


def self_check():
    rng = random.Random(as_int([0x123, 0x234, 0x345, 0x456]))
    first = [rng.getrandbits(32) for _ in range(5)]
    assert first == [1067595299, 955945823, 477289528, 4107218783, 4228976476], first
    for key in ([0x12, 0x123, 0x234, 0x345], [0x999] * 4, [0, 0, 0, 1]):
        ours = random.Random()
        ours.setstate((3, tuple(init_by_array(key)) + (624,), None))
        theirs = random.Random(as_int(key))
        assert [ours.getrandbits(32) for _ in range(1300)] == \
               [theirs.getrandbits(32) for _ in range(1300)], key


def key_of(seed):
    v = seed + 1000000000 if seed < 1000000000 else seed
    digits = "%010d" % v
    return [int(digits[4 + m:7 + m], 16) for m in range(4)]


def expected_output(p):
    rng = seeded(key_of(p["seed"]))
    for _ in range(p["idle"]):
        rng.getrandbits(32)
    budget = p["kb"] * 1024
    numbers = []

    def written():
        return 3 * len(numbers) + 2 * (len(numbers) // 20)

    while written() <= budget:
        if p["bits"]:
            big = sum(rng.getrandbits(32) << (32 * k) for k in range(6))
            numbers.extend((big >> (6 * j)) & 63 for j in range(32))
        else:
            span = p["high"] - p["low"] + 1
            numbers.append(p["low"] + ((rng.getrandbits(32) * span) >> 32))
    sep = "," if p["csv"] else " "
    text = []
    for k, n in enumerate(numbers):
        text.append("%02d%s" % (n, sep))
        if k % 20 == 19:
            text.append("\n")
    if p["csv"]:
        text.append(sep * (20 - len(numbers) % 20))
    text.append("\n")
    return "".join(text).encode("ascii")


def run(binary, args):
    """Runs tivor in a fresh directory; returns status, stdout, stderr and the files."""
    with tempfile.TemporaryDirectory() as scratch:
        done = subprocess.run([binary] + args, cwd=scratch, capture_output=True)
        files = {}
        for name in os.listdir(scratch):
            with open(os.path.join(scratch, name), "rb") as f:
                files[name] = f.read()
        return done.returncode, done.stdout, done.stderr, files


def first_difference(a, b):
    for k, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return k
    return min(len(a), len(b))


def written_stream(binary, args, csv, stdout):
    status, out, err, files = run(binary, args)
    problems = []
    if status != 0 or err:
        problems.append("status %d, stderr %r" % (status, err))
    if stdout:
        if files:
            problems.append("files written with -r: %s" % sorted(files))
        return out, problems
    name = "tivor.csv" if csv else "tivor.txt"
    if out:
        problems.append("standard output not empty")
    if sorted(files) != [name]:
        problems.append("files %s, expected only %s" % (sorted(files), name))
    return files.get(name, b""), problems


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    binary = os.path.abspath(sys.argv[1])
    self_check()
    failures = 0
    for args, changes in TABLE:
        p = dict(DEFAULTS, **changes)
        want = expected_output(p)
        got, problems = written_stream(binary, args, p["csv"], p["stdout"])
        if got != want:
            at = first_difference(got, want)
            problems.append("output differs at byte %d of %d (expected %d): got %r, want %r" %
                            (at, len(got), len(want), got[at:at + 30], want[at:at + 30]))
        if problems:
            failures += 1
            print("FAIL tivor %s: %s" % (" ".join(args), "; ".join(problems)))
    for first, second in SAME_STREAM:
        a, _ = written_stream(binary, first + ["-r"], False, True)
        b, _ = written_stream(binary, second + ["-r"], False, True)
        if a != b or not a:
            failures += 1
            print("FAIL tivor %s and %s differ" % (first, second))
    # The time seed: the stream of some second of the run's window.
    for args in (["-s0"], ["-s"]):
        before = int(time.time())
        got, problems = written_stream(binary, args + ["-r", "-k1"], False, True)
        after = int(time.time())
        candidates = [expected_output(dict(DEFAULTS, seed=t % 1000000 or 1000000000, kb=1))
                      for t in range(before, after + 1)]
        if problems or got not in candidates:
            failures += 1
            print("FAIL tivor %s: not the stream of the current time %s" % (args, problems))
    count = len(TABLE) + len(SAME_STREAM) + 2
    print("%d of %d option sets match" % (count - failures, count))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
