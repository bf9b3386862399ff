#!/usr/bin/env python3
"""Writes the seed inputs of each fuzz target into fuzz/corpus/<target>/
from the example thread and the default companion files. The layout of each
input (mode bytes, then texts separated by FF FE) is described at the top of
the target's source. Entries added for findings are kept beside the seeds."""
import os

top = os.path.dirname(os.path.abspath(__file__))
SEP = b"\xff\xfe"
colon = b"\x81\x46"
thread = open(os.path.join(top, "..", "examples", "who.txt"), "rb").read()
lines = thread.split(b"\n")

drafo = (b"&#160;, ,\n&nbsp;, ,\na,A,\nl,L,\np,P,\nq,Q,\n\\,, ,\n., ,\n      , ,\n     , ,\n"
         b"    , ,\n   , ,\n  , ,\n 1 , 01 ,\n 2 , 02 ,\n 3 , 03 ,\n 4 , 04 ,\n 5 , 05 ,\n"
         b" 6 , 06 ,\n 7 , 07 ,\n 8 , 08 ,\n 9 , 09 ,\nALLQP,ALL QP,\n|,/,\n")
exclude = b"\x82\xca\x82\xe9\x82\xdb\n ID:\n"
separate = b"/\n|\n"
headers = [
    b"256 " + colon + b"Quiet Harbour " + colon + b"2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw",
    b"3 \x96\xbc\x91\x4f\x81\x46Fox \x93\x8a\x8d\x65\x93\xfa\x81\x46" +
    b"17/08/14(\x8c\x8e) 16:25:44.12 ID:ZxCvBnMm",
    b"7    ^ 2017/08/14(Mon) 16:52:33.01 ID:MnBvCxZa Quiet Heron",
    b"12 :Name:2017/08/14(Mon)16:15:20 ID:???",
    b"9999" + colon + b"x" + colon + b"2017/12/31(Sun) 23:59:59.99",
]
picks = [
    b"01 05 09 12 23 31 38 40 8to6",
    b"first 01 02 03 04 05 06 03 04 05 06 07 08",
    b"05 12 19 27 33 41 / 02 07 19 28 33 43 | 10 14 22 30 36 41",
    b"\x8e\xb2 07 19 28 33 43 01 02 03 04 05 06 QP",
    b"123 04 05 06 07 08 09",
    b"01 02 03 04 05 066",
]
numbers = [
    b"03 07 11 19 24 28 6to5", b"01 02 03 04 05 06 07 08 09 9to5",
    b"03 11 19 24 35 42 17 7to6", b"01 02 03 04 05 06 07 08 09 10 10to6",
    b"01 02 03 04 05 06 07 08 8to7", b"01 02 03 04 05 06 07 08 09 10 11 11to7",
    b"01 02 03 04 05 44 7to6", b"01 02",
]


def seeds(target, inputs):
    folder = os.path.join(top, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for i, data in enumerate(inputs):
        with open(os.path.join(folder, "seed-%02d" % i), "wb") as out:
            out.write(data)


seeds("date_followed", [bytes([m]) + h for h in headers + lines[:3] for m in (0, 1)][:16])
seeds("lotoline", [bytes([m]) + p for p in picks for m in (0, 1, 4, 8)] +
      [bytes([2 | a]) + s + SEP + p for p in picks[:3] for s in (b"/", b"|", b"") for a in (0, 1)])
seeds("drafo", [drafo + SEP + l for l in lines[:8]] +
      [b"a,b,\nb,c,\n\\,,x,\n,,\n" + SEP + b" a b , c", b"" + SEP + lines[10]])
seeds("count_measure_sort", [bytes([g, 0]) + b"\n".join(picks + numbers) for g in (0, 1, 2)] +
      [bytes([0xC0, f]) + b"\n".join(picks) for f in (5, 42, 0xFF)])
seeds("expander", [bytes([m]) + n for n in numbers for m in (0, 1, 2)] +
      [bytes([4 | m]) + numbers[2 * m] for m in (0, 1, 2)])
segmen = headers[0] + b"\n"
tivor = b"".join(b"%02d " % (n % 38) for n in range(1, 60)) + b"\n"
combos = (b"05 12 19 27 33 41 08 - draw\n" + headers[0] + b"\n" + picks[0] + b"\n" +
          b"03 07 11 19 24 28 6to5\n01 02 03 04 05 06 07 08 8to7\n")
companions = [exclude, exclude, drafo, separate] + [b""] * 4 + [b"", b"-1-\n.txt\n",
                                                                b"-1-\n.txt\n-1\n | \n", b"", b"",
                                                                segmen]
seeds("pass", [bytes([p, s, 31]) + thread + SEP + companions[p] for p in range(len(companions))
               for s in (0, 1, 12)] +
      [bytes([p, 0x40, 31]) + thread + SEP + companions[p] + SEP + b"41abc\n" + SEP +
       b"who.txt\nwho14-5.txt\nthread.txt\nerror.txt\n" for p in (0, 3, 9)] +
      [bytes([p, 0, 31]) + combos + SEP + companions[p] for p in (9, 10, 11, 12)] +
      [bytes([13, 0, 3]) + thread + SEP + segmen + SEP + SEP + SEP + tivor,
       bytes([13, 2, 0x83]) + b"L1\n01 02 03 04 05 x\n16 17 18 19 20\n26 27 28 29 30\n" * 9 +
       SEP + segmen + SEP + SEP + SEP + tivor,
       bytes([1, 0, 31]) + lines[0], bytes([3, 0, 31]) + b"01 02 03 04 05\n" + lines[1]] +
      # -p, the last pass of the list: picks and labelled lines of every game.
      [bytes([14, s, 31]) + t for s in (0, 1) for t in (thread, combos)] +
      [bytes([14, 0, 31]) + l1 + b"\n" + headers[0] + b"\n" + b"\n".join(numbers + picks)
       for l1 in (b"03 08 15 22 29 11 -", b"02 09 14 21 28 33 37 05 17 -", b"05 12 19 27 33 41 44 -")])
seeds("consecutive", [bytes([n, m, 1, 2, 3]) + h + SEP + tivor for h in headers + [b"x"] * 1
                      for n, m in ((20, 0), (9, 1))] +
      [bytes([40, 0, 0xFF, 0xFF, 0xFF]) + b"1 " + colon + b"N " + colon +
       b"2017/08/14(Mon) 23:59:50.00 ID:abcdefgh" + SEP + b"5 \n7"])
seeds("gap_id", [bytes([0, 20]) + tivor, bytes([2, 20]) + tivor + SEP + b"01 02",
                 bytes([4, 9]) + b"00 63 64 99 \n", bytes([1, 3]), bytes([0, 8]) + b"ab cd\n",
                 bytes([0, 8]) + b"5 \n7"])
mark = b"\xef\xbb\xbf"
utf8_thread = thread.decode("cp932").encode("utf-8")
missing = "\U0001F600 \U00020BB7 \u301c \ue000 \u00e9\n".encode("utf-8")
seeds("text_encoding", [bytes([0]) + thread, bytes([2]) + utf8_thread, bytes([3]) + mark + utf8_thread,
                        bytes([0]) + missing + utf8_thread[:2000],
                        bytes([1]) + mark + b"a\x82\xa0b\xed\xa0\x80\xc0\xaf\xe3\x81",
                        bytes([4]) + b"\x80\xa0\xfd\x85\x40\xf0\x40\x82"])
