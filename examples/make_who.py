#!/usr/bin/env python3
"""Writes examples/who.txt, the invented Loto-6 thread the README runs on.

The thread is kept as readable text here and encoded to Shift-JIS, the
encoding of saved threads."""
import pathlib

LINES = [
    "03 11 19 24 35 42 17 - draw 1834",
    "1 ：Lucky Cat ：2017/08/14(Mon) 16:15:20.68 ID:AbCdEfGh",
    "02 07 19 28 33 43",
    "good luck everyone",
    "2 ：名無しさん ：2017/08/14(月) 16:20:01.05 ID:QwErTyUi",
    "05 12 19 27 33 41",
    "01 05 09 12 23 31 38 40 8to6",
    "3 名前：Harbour Fox 投稿日：17/08/14(月) 16:25:44.12 ID:ZxCvBnMm",
    "43 07 19 02 33 28",
    "4 ：Night Owl ：2017/08/14(Mon) 16:31:09.77 ID:PoIuYtRe",
    "ぬるぽ",
    "10 14 22 30 36 41",
    "5 ：月見 ：2017/08/14(Mon) 16:40:15.30 ID:LkJhGfDs",
    "０４　１１　１８　２５　３２　３９",
    "6 ：Broken Line",
    "：2017/08/14(Mon)",
    " 16:47:02.11 ID:RtYuIoPa",
    "06 13 20 27 34 41",
    "7    ^ 2017/08/14(Mon) 16:52:33.01 ID:MnBvCxZa Quiet Heron",
    "08 16 24 32 40 42",
    "8 ：Paper Crane ：2017/08/14 17:01:47.90",
    "01 02 03 04 05 06/07 08 09 10 11 12",
    "13 17 21 29 34 40 | 02 09 15 22 31 38",
    "9 ：Lucky Cat ：2017/08/14(Mon) 17:10:00.00 ID:AbCdEfGh",
    "07 13 21 26 32 38 43 7to6",
    "ALLQP",
    "10 ：Tide Reader ：2017/08/14(Mon) 17:15:42.19 ID:GhJkLzXc",
    "軸 07 11 19 25 30 36",
    "12 19 27 33 41 05",
]

text = "".join(line + "\n" for line in LINES)
pathlib.Path(__file__).with_name("who.txt").write_bytes(text.encode("shift_jis"))
