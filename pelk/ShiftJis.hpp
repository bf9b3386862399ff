#pragma once

// Shift-JIS texts the programs match and write, as byte escapes.

/// "：" full-width colon.
inline constexpr char kZenkakuColon[] = "\x81\x46";
/// "　" full-width space.
inline constexpr char kZenkakuSpace[] = "\x81\x40";
/// "投稿日" (posted on).
inline constexpr char kPostedOn[] = "\x93\x8A\x8D\x65\x93\xFA";
/// "日月火水木金土", the weekdays Sunday to Saturday.
inline constexpr char kKanjiWeekdays[] = "\x93\xFA\x8C\x8E\x89\xCE\x90\x85\x96\xD8\x8B\xE0\x93\x79";
/// "ぬるぽ", the default exclusion item.
inline constexpr char kNurupo[] = "\x82\xCA\x82\xE9\x82\xDB";
/// The axis mark (jiku): with the axis switch on, a pick line holding it
/// keeps the text before its first digit.
inline constexpr char kAxisMark[] = "\x8E\xB2";
