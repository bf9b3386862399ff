#!/usr/bin/env python3
"""Writes a large synthetic Loto-6 thread file (Shift-JIS) for benchmarking pelk.

The thread imitates an archive of saved forum threads concatenated into one
file: Line-1 holds a Loto-6 draw, then threads of a few hundred posts follow
one another, each numbering its posts from 1. What the posts hold depends on
the shape asked for (--shape; --list-shapes tells them):

  classic   the first shape of the benchmark: every post-header form pelk
            recognises (colon layout with an English or a kanji weekday, the
            "名前： 投稿日：" form with a two-digit year, headers without an
            ID, headers already in the vemo form, headers broken over three
            lines, times without hundredths) and body lines of every kind the
            passes work on: picks of 6 to 11 numbers with and without labels
            such as "8to6", picks in full-width digits, several picks on one
            line separated by "/" or "|", 3 x 3 matrices, Japanese chat (also
            half-width katakana), anchors, quoted headers, "ぬるぽ", empty
            lines and long lines of several hundred to a few thousand bytes.
  others    made by one generator from a table of parameters (SHAPES below):
            the weights of the header forms, of the post lengths and of the
            kinds of body line, an empty line after each post or not. Options
            change any of them for one run (--header-forms, --post-lines,
            --body, --empty-after-post, --no-headers, --long-bytes).

Whatever the shape, --crlf ends the lines with CR LF, and --utf8 writes the
same thread in UTF-8, as a converter on Windows would (the Shift-JIS bytes
decoded as cp932). The size is asked as posts, as lines (--lines) or as
years of archive (--years: posts until the thread's clock has run that long).

The output depends only on the arguments: the same arguments give the same
bytes with any Python 3 (the generator draws only through getrandbits of an
integer-seeded random.Random). --exclude writes instead a list of exclusion
items for the default pass and "-e", one per line (no empty line, so that
`grep -v -F -f` reads the same items).

    make_thread.py OUT POSTS [--shape S] [--seed S]   write POSTS posts
    make_thread.py OUT --lines L [...]                stop at the first post
                                                      that reaches L lines
    make_thread.py OUT --years Y [...]                Y years of posts
    make_thread.py OUT --exclude N [--seed S]         N exclusion items
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


# The shaped generator. Every shape but "classic" is a table of parameters;
# the body line kinds and header forms it draws from are these.
HEADER_FORMS = [
    "colon",     # 256 ：Name ：2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx
    "kanji",     # the same with a kanji weekday: (月)
    "posted",    # 256 名前：Name 投稿日：17/08/14(月) 16:15:20.68 ID:xxxxxxxx
    "halfwidth", # 256 :Name :2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx
    "noid",      # 256 ：Name ：2017/08/14 16:15:20.68 (no ID, no weekday)
    "vemo",      # 256  ^ 2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx Name
    "split",     # the colon layout broken over three lines
    "minutes",   # 256 ：Name ：2017/08/14(Mon) 16:15 ID:xxxxxxxx
    "trailer",   # the colon layout, then text after the ID: " BE:123456789-2BP(1000)"
    "mail",      # 256 ：Name [sage] ：2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx
]
BODY_KINDS = [
    "pick",      # six numbers, as posted: "本命 03 11 19 24 35 42"
    "pickN",     # seven to eleven numbers, no label
    "label",     # N numbers and a label "NtoK" (see LABEL_GAMES)
    "fullwidth", # six numbers in full-width digits
    "split",     # two picks on one line split by " / "
    "multi",     # two to five picks split by "/", " | " or "｜"
    "chat",      # Japanese chat, also half-width katakana
    "anchor",    # ">>12 text"
    "empty",     # an empty line inside a post
    "long",      # a very long line: chat or picks of --long-bytes bytes
    "quoted",    # "> " and another post's header (holds " ID:")
    "nurupo",    # "ぬるぽ", the default exclusion item
    "draw",      # the draw line
]

SHAPES = {
    # As a plausible Loto-6 archive is described: three header forms, one to
    # six body lines a post, 55% plain picks, 7% labelled lines of 7 to 10
    # numbers, 10% full-width picks, two picks split by " / ", chat lines,
    # an empty line after each post.
    "archive": dict(
        about="three header forms, 1-6 body lines, 55% picks, 7% labelled, 10% full-width",
        headers={"colon": 50, "kanji": 25, "posted": 25},
        post_lines={1: 1, 2: 1, 3: 1, 4: 1, 5: 1, 6: 1},
        body={"pick": 55, "label": 7, "fullwidth": 10, "split": 8, "chat": 20},
        labels={6: 1}, empty_after_post=True, matrix=0),
    # The same posts with CR LF line ends, as saved on Windows.
    "crlf": dict(
        about="archive with CR LF line ends",
        base="archive", crlf=True),
    # Body lines only: a thread copied without its post headers.
    "bodies": dict(
        about="no post headers at all: one body of picks and chat",
        base="archive", headers={}, empty_after_post=False),
    # Every header form, short posts: the header recognition at work.
    "headers": dict(
        about="all ten header forms, 0-2 body lines a post",
        headers={form: 10 for form in HEADER_FORMS},
        post_lines={0: 2, 1: 5, 2: 3},
        body={"pick": 40, "chat": 30, "anchor": 15, "quoted": 5, "label": 5, "fullwidth": 5},
        labels={6: 85, 5: 8, 7: 7}, empty_after_post=False, matrix=3),
    # Combination lines of every game, many of them 10 or 11 numbers: a
    # long "-c" output of tens of thousands of expansion files.
    "labels": dict(
        about="30% labelled lines of all three games",
        base="archive",
        body={"pick": 40, "label": 30, "fullwidth": 5, "split": 5, "chat": 20},
        labels={6: 60, 5: 15, 7: 25}),
    # Japanese text: chat, full-width picks and anchors, long posts.
    "chat": dict(
        about="Japanese chat, full-width picks, anchors; 2-12 body lines",
        headers={"colon": 30, "kanji": 30, "posted": 30, "mail": 10},
        post_lines={2: 3, 4: 3, 6: 2, 8: 1, 12: 1},
        body={"chat": 50, "fullwidth": 20, "anchor": 10, "pick": 15, "nurupo": 1, "empty": 4},
        labels={6: 1}, empty_after_post=True, matrix=0),
    # Very long lines, far beyond the 383 bytes of Line-1.
    "long": dict(
        about="archive with one body line in 200 of 2-8 KB (chat or picks)",
        base="archive",
        body={"pick": 550, "label": 70, "fullwidth": 100, "split": 80, "chat": 195, "long": 5},
        long_bytes=(2000, 8000)),
    # Long posts, one in sixteen a list of tickets: labelled lines of every
    # label of every game, each label as likely as the others, among a few
    # picks and chat. Some 45,000 expansion files of 1.7 KB on average for a
    # thread of 1,000,000 lines (25 MB): "-c" at its most file-bound.
    "tickets": dict(
        about="10-40 body lines a post; one post in 16 a list of labelled lines of every game",
        headers={"colon": 50, "kanji": 25, "posted": 25},
        post_lines={n: 1 for n in range(10, 41)},
        body={"pick": 45, "pickN": 5, "fullwidth": 5, "chat": 35, "anchor": 5, "empty": 5},
        ticket_posts=5.8,
        ticket_body={"label": 85, "pick": 10, "chat": 5},
        labels={6: 50, 5: 25, 7: 25}, label_counts="even", empty_after_post=True, matrix=0),
}
DEFAULTS = dict(about="", headers={"colon": 1}, post_lines={3: 1}, body={"pick": 1},
                labels={6: 1}, empty_after_post=False, matrix=0, crlf=False,
                long_bytes=(300, 4000), posts_per_thread=(300, 1000),
                ticket_posts=0, ticket_body={}, label_counts=None)
# Labels by K: the highest number of the game and the weights of the counts
# N posted with "NtoK" (Loto-6 takes 7 to 10 numbers, Miniloto 6 to 9,
# Loto-7 8 to 11).
LABEL_GAMES = {
    6: (43, [(7, 40), (8, 30), (9, 20), (10, 10)]),
    5: (31, [(6, 3), (7, 2), (8, 1), (9, 1)]),
    7: (37, [(8, 3), (9, 2), (10, 1), (11, 1)]),
}
SPLIT_SEPARATORS = [" / "]
MULTI_SEPARATORS = ["/", " | ", "/", "｜"]


def shape_parameters(name):
    if name not in SHAPES:
        raise KeyError(name)
    entry = SHAPES[name]
    values = dict(DEFAULTS)
    if "base" in entry:
        values.update(shape_parameters(entry["base"]))
    values.update({k: v for k, v in entry.items() if k != "base"})
    return values


class ShapedThread(Thread):
    """Posts drawn from a table of parameters (an entry of SHAPES)."""

    def __init__(self, draw, shape):
        super().__init__(draw)
        self.shape = shape
        self.header_weights = sorted(shape["headers"].items())
        self.length_weights = sorted(shape["post_lines"].items())
        self.body_weights = [(k, shape["body"][k]) for k in BODY_KINDS if k in shape["body"]]
        self.label_weights = sorted(shape["labels"].items())
        # A ticket post draws its body lines from a table of its own.
        self.ticket_weights = [(k, shape["ticket_body"][k]) for k in BODY_KINDS
                               if k in shape["ticket_body"]]
        self.label_counts = {k: ([(n, 1) for n, _ in counts]
                                 if shape["label_counts"] == "even" else counts)
                             for k, (_, counts) in LABEL_GAMES.items()}

    def new_thread(self):
        self.number = 0
        low, high = self.shape["posts_per_thread"]
        self.posts_left = self.d.between(low, high)
        self.day += self.d.between(1, 4)
        self.seconds = self.d.between(0, 86399)

    def years(self):
        return self.day / 336

    def ident(self):
        # An ID such as "K7to5tMg" on the third line of a split header (a
        # body line) would read as a combination line and stop "-c": such
        # IDs are drawn again.
        while True:
            ident = super().ident()
            if not any(c.isdigit() and ident[i + 1:i + 3] == "to" for i, c in enumerate(ident)):
                return ident

    def header(self):
        self.number += 1
        n = self.number
        year, month, mday, weekday, hh, mm, ss = self.stamp()
        date = "%d/%02d/%02d" % (year, month, mday)
        time = "%02d:%02d:%02d.%02d" % (hh, mm, ss, self.d.below(100))
        name = self.name()
        ident = self.ident()
        form = self.d.weighted(self.header_weights)
        english = "%s(%s)" % (date, WEEKDAYS[weekday])
        kanji = "%s(%s)" % (date, KANJI_WEEKDAYS[weekday])
        if form == "colon":
            return ["%d ：%s ：%s %s ID:%s" % (n, name, english, time, ident)]
        if form == "kanji":
            return ["%d ：%s ：%s %s ID:%s" % (n, name, kanji, time, ident)]
        if form == "posted":
            return ["%d 名前：%s 投稿日：%s %s ID:%s" % (n, name, kanji[2:], time, ident)]
        if form == "halfwidth":
            return ["%d :%s :%s %s ID:%s" % (n, name, english, time, ident)]
        if form == "noid":
            return ["%d ：%s ：%s %s" % (n, name, date, time)]
        if form == "vemo":
            column = str(n) + "     ^ "[len(str(n)):]
            return ["%s%s %s ID:%s %s" % (column, english, time, ident, name)]
        if form == "split":
            return ["%d ：%s" % (n, name), "：%s" % english, " %s ID:%s" % (time, ident)]
        if form == "minutes":
            return ["%d ：%s ：%s %02d:%02d ID:%s" % (n, name, english, hh, mm, ident)]
        if form == "trailer":
            return ["%d ：%s ：%s %s ID:%s BE:%d-2BP(%d)"
                    % (n, name, english, time, ident, self.d.between(100000000, 999999999),
                       self.d.pick([0, 1000, 2000, 3000]))]
        return ["%d ：%s [sage] ：%s %s ID:%s" % (n, name, english, time, ident)]

    def long_line(self):
        low, high = self.shape["long_bytes"]
        target = self.d.between(low, high)
        if self.d.chance(50):
            # About 12 Shift-JIS bytes a phrase.
            return self.chat(max(1, target // 12))
        return "/".join(self.pick(6) for _ in range(max(1, target // 18)))

    def body_line(self, weights=None):
        d = self.d
        kind = d.weighted(weights or self.body_weights)
        if kind == "pick":
            return [d.pick(PREFIXES) + self.pick(6)]
        if kind == "pickN":
            return [d.pick(PREFIXES) + self.pick(d.between(7, 11))]
        if kind == "label":
            k = d.weighted(self.label_weights)
            highest = LABEL_GAMES[k][0]
            n = d.weighted(self.label_counts[k])
            return [d.pick(PREFIXES) + self.pick(n, highest) + " %dto%d" % (n, k)
                    + d.pick(["", "", " "])]
        if kind == "fullwidth":
            numbers = sorted(d.numbers(6, 43))
            separator = d.pick(["　", "　", "、", "・"])
            return [separator.join("".join(FULL_WIDTH_DIGITS[int(c)] for c in two(x))
                                   for x in numbers)]
        if kind == "split":
            return [d.pick(SPLIT_SEPARATORS).join(self.pick(6) for _ in range(2))]
        if kind == "multi":
            return [d.pick(MULTI_SEPARATORS).join(self.pick(6) for _ in range(d.between(2, 5)))]
        if kind == "chat":
            return [self.chat(d.between(1, 4))]
        if kind == "anchor":
            return [">>%d %s" % (d.between(1, max(1, self.number)), self.chat(1))]
        if kind == "empty":
            return [""]
        if kind == "long":
            return [self.long_line()]
        if kind == "quoted":
            quoted = self.header()[0]
            self.number -= 1
            return ["> " + quoted]
        if kind == "nurupo":
            return ["ぬるぽ"]
        return [DRAW_LINE]

    def post(self):
        if self.posts_left == 0:
            self.new_thread()
        self.posts_left -= 1
        out = self.header() if self.header_weights else []
        if self.shape["matrix"] and self.d.chance(self.shape["matrix"]):
            out += self.matrix()
        weights = None
        if self.shape["ticket_posts"] and self.d.chance(self.shape["ticket_posts"]):
            weights = self.ticket_weights
        for _ in range(self.d.weighted(self.length_weights)):
            out += self.body_line(weights)
        if self.shape["empty_after_post"]:
            out.append("")
        return out


# Exclusion items: words a reader of the thread might list (kana and kanji
# words, IDs, names, addresses, picks), nearly all of which occur in no line,
# after the two items of the default list.
KANA = ("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも"
        "やゆよらりるれろわをんがぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽ")
KATAKANA = ("アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ"
            "ヤユヨラリルレロワンガギグゲゴザジズゼゾダデドバビブベボパピプペポー")
KANJI = "当選祈願予想本命対抗軸固定外連番末尾数字一等賞金購入抽選結果今週来月運気"
ASCII_WORDS = ["spam", "bot", "ad", "sale", "free", "click", "win", "cash", "http", "www"]


def exclusion_items(draw, count):
    d = draw
    items = ["ぬるぽ", " ID:"]
    seen = set(items)
    while len(items) < count:
        kind = d.weighted([("kana", 30), ("katakana", 20), ("kanji", 15), ("id", 20),
                           ("ascii", 10), ("pick", 5)])
        if kind == "kana":
            item = "".join(d.pick(KANA) for _ in range(d.between(3, 6)))
        elif kind == "katakana":
            item = "".join(d.pick(KATAKANA) for _ in range(d.between(3, 6)))
        elif kind == "kanji":
            item = "".join(d.pick(KANJI) for _ in range(d.between(3, 5)))
        elif kind == "id":
            item = "ID:" + "".join(d.pick(ID_LETTERS) for _ in range(8))
        elif kind == "ascii":
            item = "%s%s%d" % (d.pick(ASCII_WORDS), d.pick(["", ".", "-", "_"]),
                               d.between(100, 99999))
        else:
            item = " ".join(two(x) for x in sorted(d.numbers(6, 43)))
        if item not in seen:
            seen.add(item)
            items.append(item)
    return items[:count]


def encoder(crlf, utf8):
    end = "\r\n" if crlf else "\n"

    def encode(lines):
        data = (end.join(lines) + end).encode("shift_jis")
        return data.decode("cp932").encode("utf-8") if utf8 else data

    return encode


def parse_weights(text, known):
    """"a=3,b=1" as {"a": 3, "b": 1}; names must be among `known` (numbers
    when `known` is int)."""
    weights = {}
    for part in filter(None, text.split(",")):
        name, _, weight = part.partition("=")
        key = int(name) if known is int else name
        if known is not int and key not in known:
            raise ValueError("unknown name %r (known: %s)" % (name, ", ".join(known)))
        weights[key] = int(weight or 1)
    return weights


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out", nargs="?", help="file to write")
    parser.add_argument("posts", nargs="?", type=int, help="number of posts")
    parser.add_argument("--lines", type=int, help="stop at the first post reaching this many lines")
    parser.add_argument("--years", type=float, help="posts until the clock has run this many years")
    parser.add_argument("--seed", type=int, default=1, help="seed (default 1)")
    parser.add_argument("--shape", default="classic", help="shape of the thread (default classic)")
    parser.add_argument("--list-shapes", action="store_true", help="tell the shapes and stop")
    parser.add_argument("--crlf", action="store_true", help="end lines with CR LF")
    parser.add_argument("--utf8", action="store_true", help="write UTF-8 (cp932 decoded)")
    parser.add_argument("--header-forms", help="weights of header forms, as colon=5,posted=1 "
                        "(forms: %s)" % ", ".join(HEADER_FORMS))
    parser.add_argument("--no-headers", action="store_true", help="no post headers at all")
    parser.add_argument("--post-lines", help="weights of body lines a post, as 1=1,6=1")
    parser.add_argument("--body", help="weights of body line kinds, as pick=55,label=7 "
                        "(kinds: %s)" % ", ".join(BODY_KINDS))
    parser.add_argument("--labels", help="weights of the K of labelled lines, as 6=1,7=1")
    parser.add_argument("--empty-after-post", choices=["yes", "no"],
                        help="an empty line after each post")
    parser.add_argument("--long-bytes", help="bytes of a long line, as 2000-8000")
    parser.add_argument("--exclude", type=int, metavar="N",
                        help="write N exclusion items instead of a thread")
    args = parser.parse_args()
    if args.list_shapes:
        print("classic: the first shape of the benchmark (every kind of line)")
        for name in SHAPES:
            print("%s: %s" % (name, shape_parameters(name)["about"]))
        return
    if args.out is None:
        parser.error("name the file to write")
    if args.exclude is not None:
        with open(args.out, "wb") as out:
            out.write(encoder(args.crlf, args.utf8)(exclusion_items(Draw(args.seed),
                                                                    args.exclude)))
        print("%s: %d items" % (args.out, args.exclude), file=sys.stderr)
        return
    if sum(x is not None for x in (args.posts, args.lines, args.years)) != 1:
        parser.error("give one of POSTS, --lines and --years")

    draw = Draw(args.seed)
    shaping = any(x is not None for x in (args.header_forms, args.post_lines, args.body,
                                          args.labels, args.empty_after_post, args.long_bytes))
    crlf = args.crlf
    if args.shape == "classic":
        if shaping or args.no_headers:
            parser.error("the classic shape takes no shape parameters: name another --shape")
        thread = Thread(draw)
    else:
        try:
            shape = shape_parameters(args.shape)
        except KeyError:
            parser.error("no shape %r (--list-shapes tells them)" % args.shape)
        try:
            if args.header_forms is not None:
                shape["headers"] = parse_weights(args.header_forms, HEADER_FORMS)
            if args.no_headers:
                shape["headers"] = {}
            if args.post_lines is not None:
                shape["post_lines"] = parse_weights(args.post_lines, int)
            if args.body is not None:
                shape["body"] = parse_weights(args.body, BODY_KINDS)
            if args.labels is not None:
                shape["labels"] = parse_weights(args.labels, int)
            if args.long_bytes is not None:
                low, _, high = args.long_bytes.partition("-")
                shape["long_bytes"] = (int(low), int(high or low))
        except ValueError as e:
            parser.error(str(e))
        if args.empty_after_post is not None:
            shape["empty_after_post"] = args.empty_after_post == "yes"
        if not set(shape["labels"]) <= set(LABEL_GAMES):
            parser.error("labels are made for K = 5, 6 or 7")
        crlf = crlf or shape["crlf"]
        thread = ShapedThread(draw, shape)
    encode = encoder(crlf, args.utf8)

    lines = 1
    posts = 0
    with open(args.out, "wb") as out:
        out.write(encode([DRAW_LINE]))
        chunk = []
        while True:
            if args.posts is not None and posts >= args.posts:
                break
            if args.lines is not None and lines >= args.lines:
                break
            if args.years is not None and thread.day >= args.years * 336:
                break
            post = thread.post()
            posts += 1
            lines += len(post)
            chunk.extend(post)
            if len(chunk) >= 10000:
                out.write(encode(chunk))
                chunk = []
        if chunk:
            out.write(encode(chunk))
    print("%s: %d posts, %d lines" % (args.out, posts, lines), file=sys.stderr)


if __name__ == "__main__":
    main()
