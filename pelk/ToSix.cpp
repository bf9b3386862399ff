#include "ToSix.hpp"

constinit const Expander::Game ToSix::game = {
    43,
    6,
    {{" 7to6", 7}, {" 8to6", 8}, {" 9to6", 9}, {"10to6", 10}},
    "e55: wrongBall()",
    "e56: s == ball[i]"};

ToSix::ToSix(const std::string& fileName, const std::string& numberLine)
    : expander(game, fileName, numberLine) {}

bool ToSix::writeFile() { return expander.writeFile(); }

std::string ToSix::inquiry() const { return expander.inquiry(); }

bool ToSix::wrongBall(const std::string& s) { return expander.wrongBall(s); }

bool ToSix::file7to6() { return expander.writeCombinations(7); }

bool ToSix::file8to6() { return expander.writeCombinations(8); }

bool ToSix::file9to6() { return expander.writeCombinations(9); }

bool ToSix::file10to6() { return expander.writeCombinations(10); }
