#!/usr/bin/env python3
"""Writes a large synthetic Loto-6 thread file (Shift-JIS) for benchmarking pelk.

The thread imitates an archive of saved forum threads concatenated into one
file: Line-1 holds a Loto-6 draw, then threads of up to 1000 posts follow one
another, each numbering its posts from 1. The posts mix the post-header forms
pelk recognises (colon layout with an English or a kanji weekday, the
"名前： 投稿日：" form with a two-digit year, headers without an ID, headers
already in the vemo form, headers broken over three lines, times without
hundredths) with body lines of every kind the passes work on: picks of 6 to
11 numbers with and without labels such as "8to6", picks in full-width digits,
several picks on one line separated by "/" or "|", 3 x 3 matrices, Japanese
chat (also half-width katakana), anchors, quoted headers, "ぬるぽ", empty
lines and long lines of several hundred to a few thousand bytes.

The output depends only on the seed and the size asked for: the same
arguments give the same bytes with any Python 3 (the generator draws only
through getrandbits of an integer-seeded random.Random).

    make_thread.py OUT POSTS [--seed S]        write POSTS posts
    make_thread.py OUT --lines L [--seed S]    stop at the first post that
                                               reaches L lines
"""
import argparse
import random
import sys

DRAW_LINE = "03 11 19 24 35 42 17 - draw 1834"

ASCII_NAMES = [
    "Lucky Cat", "Night Owl", "Paper Crane", "Tide Reader", "Harbour Fox",
    "Quiet Heron", "Blue Lantern", "Seven Stars", "Rainy Day", "Old Miner",
]
JAPANESE_NAMES = [
    "名無しさん", "名無しさん", "名無しさん", "月見", "ロト職人", "当選祈願",
    "夢見る人", "キャリー待ち",
]
WEEKDAYS = ["Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"]
KANJI_WEEKDAYS = ["日", "月", "火", "水", "木", "金", "土"]
ID_LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
PHRASES = [
    "今回は当たりそう", "キャリーオーバーに期待", "当たれ！", "ガッ", "ｷﾀｰ",
    "また外れた", "次こそ一等", "軸は固定で", "引っ張りを狙う", "連番は外す",
    "good luck everyone", "ALLQP", "ﾜﾛﾀ", "今週も買いました", "予想屋さん乙",
    "末尾は散らす", "前回と同じ", "ボーナス数字が来ない", "ｶﾞﾝﾊﾞﾚ",
    "それな", "ｗｗｗ", "一口だけ", "クイックピックにした",
]
PREFIXES = ["", "", "", "", "本命 ", "my pick: ", "対抗　", "軸 ", "予想："]
FULL_WIDTH_DIGITS = "０１２３４５６７８９"

# Labels by combination size K, the highest number K's game accepts, and the
# weights of the posted counts N for that K.
LABELS = [
    (6, 43, [(7, 40), (8, 30), (9, 15), (10, 5)]),
    (5, 31, [(6, 3), (7, 2), (8, 1), (9, 1)]),
    (7, 37, [(8, 3), (9, 2), (10, 1), (11, 1)]),
]


class Draw:
    """Integer draws that depend only on the seed (getrandbits is stable)."""

    def __init__(self, seed):
        self.source = random.Random(seed)

    def below(self, n):
        bits = n.bit_length()
        while True:
            v = self.source.getrandbits(bits)
            if v < n:
                return v

    def between(self, low, high):
        return low + self.below(high - low + 1)

    def chance(self, percent):
        return self.below(1000) < percent * 10

    def pick(self, items):
        return items[self.below(len(items))]

    def weighted(self, pairs):
        total = sum(w for _, w in pairs)
        r = self.below(total)
        for value, w in pairs:
            if r < w:
                return value
            r -= w
        return pairs[-1][0]

    def numbers(self, count, highest):
        pool = list(range(1, highest + 1))
        chosen = []
        for _ in range(count):
            chosen.append(pool.pop(self.below(len(pool))))
        return chosen


def two(n):
    return "%02d" % n


class Thread:
    """Writes posts one after the other, threads of up to 1000 posts each."""

    def __init__(self, draw):
        self.d = draw
        self.number = 0
        self.posts_left = 0
        self.seconds = 0
        self.day = 0
        self.lines = []

    def new_thread(self):
        self.number = 0
        self.posts_left = self.d.between(300, 1000)
        self.day += self.d.between(1, 4)
        self.seconds = self.d.between(0, 86399)

    # Clock of the thread: a day counter and the seconds of that day.
    def stamp(self):
        self.seconds += self.d.between(3, 400)
        if self.seconds >= 86400:
            self.seconds -= 86400
            self.day += 1
        # Days counted from Sunday 2017/01/01; months of 28 days keep the
        # dates simple and valid.
        year = 2017 + self.day // 336
        month = self.day % 336 // 28 + 1
        mday = self.day % 28 + 1
        weekday = self.day % 7
        s = self.seconds
        return year, month, mday, weekday, s // 3600, s // 60 % 60, s % 60

    def ident(self):
        return "".join(self.d.pick(ID_LETTERS) for _ in range(8))

    def name(self):
        return self.d.pick(JAPANESE_NAMES if self.d.chance(50) else ASCII_NAMES)

    def header(self):
        self.number += 1
        n = self.number
        year, month, mday, weekday, hh, mm, ss = self.stamp()
        date = "%d/%02d/%02d" % (year, month, mday)
        cs = self.d.below(100)
        time = "%02d:%02d:%02d.%02d" % (hh, mm, ss, cs)
        name = self.name()
        ident = self.ident()
        form = self.d.weighted([(0, 45), (1, 20), (2, 15), (3, 5), (4, 5), (5, 5), (6, 5)])
        if form == 0:
            return ["%d ：%s ：%s(%s) %s ID:%s" % (n, name, date, WEEKDAYS[weekday], time, ident)]
        if form == 1:
            return ["%d ：%s ：%s(%s) %s ID:%s" % (n, name, date, KANJI_WEEKDAYS[weekday], time, ident)]
        if form == 2:
            return ["%d 名前：%s 投稿日：%s(%s) %s ID:%s"
                    % (n, name, date[2:], KANJI_WEEKDAYS[weekday], time, ident)]
        if form == 3:
            return ["%d ：%s ：%s %s" % (n, name, date, time)]
        if form == 4:
            column = str(n) + "     ^ "[len(str(n)):]
            return ["%s%s(%s) %s ID:%s %s" % (column, date, WEEKDAYS[weekday], time, ident, name)]
        if form == 5:
            return ["%d ：%s" % (n, name), "：%s(%s)" % (date, WEEKDAYS[weekday]),
                    " %s ID:%s" % (time, ident)]
        return ["%d ：%s ：%s(%s) %02d:%02d ID:%s" % (n, name, date, WEEKDAYS[weekday], hh, mm, ident)]

    def pick(self, count, highest=43, ordered=None):
        numbers = self.d.numbers(count, highest)
        if ordered if ordered is not None else self.d.chance(60):
            numbers.sort()
        return " ".join(two(x) for x in numbers)

    def chat(self, pieces):
        return "".join(self.d.pick(PHRASES) + self.d.pick(["", " ", "　", "、"])
                       for _ in range(pieces)).rstrip()

    def body_line(self):
        kind = self.d.weighted([
            ("pick6", 40), ("pickN", 10), ("label", 4), ("zenkaku", 4), ("multi", 4),
            ("chat", 22), ("anchor", 5), ("empty", 6), ("long", 1), ("quoted", 1),
            ("nurupo", 1), ("draw", 2),
        ])
        d = self.d
        if kind == "pick6":
            return [d.pick(PREFIXES) + self.pick(6)]
        if kind == "pickN":
            return [d.pick(PREFIXES) + self.pick(d.between(6, 11))]
        if kind == "label":
            k, highest, counts = d.weighted([(LABELS[0], 85), (LABELS[1], 8), (LABELS[2], 7)])
            n = d.weighted(counts)
            return [d.pick(PREFIXES) + self.pick(n, highest) + " %dto%d" % (n, k)
                    + d.pick(["", "", " "])]
        if kind == "zenkaku":
            numbers = sorted(d.numbers(6, 43))
            separator = d.pick(["　", "　", "、", "・"])
            return [separator.join("".join(FULL_WIDTH_DIGITS[int(c)] for c in two(x))
                                   for x in numbers)]
        if kind == "multi":
            separator = d.pick(["/", " | ", "/", "｜"])
            return [separator.join(self.pick(6) for _ in range(d.between(2, 5)))]
        if kind == "chat":
            return [self.chat(d.between(1, 4))]
        if kind == "anchor":
            return [">>%d %s" % (d.between(1, max(1, self.number)), self.chat(1))]
        if kind == "empty":
            return [""]
        if kind == "long":
            if d.chance(50):
                return [self.chat(d.between(30, 150))]
            return ["/".join(self.pick(6) for _ in range(d.between(20, 120)))]
        if kind == "quoted":
            quoted = self.header()[0]
            self.number -= 1
            return ["> " + quoted]
        if kind == "nurupo":
            return ["ぬるぽ"]
        return [DRAW_LINE]

    def matrix(self):
        # Three rows whose first numbers lie in 01-05, 16-20 and 26-30.
        rows = []
        for low in (1, 16, 26):
            first = self.d.between(low, low + 4)
            rest = sorted(self.d.numbers(5, 43))
            rows.append(" ".join([two(first)] + [two(x) for x in rest if x != first][:4]))
        return rows

    def post(self):
        if self.posts_left == 0:
            self.new_thread()
        self.posts_left -= 1
        out = self.header()
        if self.d.chance(3):
            out += self.matrix()
        for _ in range(self.d.weighted([(0, 5), (1, 30), (2, 25), (3, 18), (4, 10), (5, 6),
                                        (6, 3), (8, 2), (12, 1)])):
            out += self.body_line()
        return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out", help="file to write")
    parser.add_argument("posts", nargs="?", type=int, help="number of posts")
    parser.add_argument("--lines", type=int, help="stop at the first post reaching this many lines")
    parser.add_argument("--seed", type=int, default=1, help="seed (default 1)")
    args = parser.parse_args()
    if (args.posts is None) == (args.lines is None):
        parser.error("give either POSTS or --lines")

    thread = Thread(Draw(args.seed))
    lines = 1
    posts = 0
    with open(args.out, "wb") as out:
        out.write((DRAW_LINE + "\n").encode("shift_jis"))
        chunk = []
        while True:
            if args.posts is not None and posts >= args.posts:
                break
            if args.lines is not None and lines >= args.lines:
                break
            post = thread.post()
            posts += 1
            lines += len(post)
            chunk.extend(post)
            if len(chunk) >= 10000:
                out.write(("\n".join(chunk) + "\n").encode("shift_jis"))
                chunk = []
        if chunk:
            out.write(("\n".join(chunk) + "\n").encode("shift_jis"))
    print("%s: %d posts, %d lines" % (args.out, posts, lines), file=sys.stderr)


if __name__ == "__main__":
    main()
