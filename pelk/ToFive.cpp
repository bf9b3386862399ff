#include "ToFive.hpp"

constinit const Expander::Game ToFive::game = {
    31,
    5,
    {{" 6to5", 6}, {" 7to5", 7}, {" 8to5", 8}, {" 9to5", 9}},
    "e51: wrongBall()",
    "e52: s == ball[i]"};

ToFive::ToFive(const std::string& fileName, const std::string& numberLine)
    : expander(game, fileName, numberLine) {}

bool ToFive::writeFile() { return expander.writeFile(); }

std::string ToFive::inquiry() const { return expander.inquiry(); }

bool ToFive::wrongBall(const std::string& s) { return expander.wrongBall(s); }

bool ToFive::file6to5() { return expander.writeCombinations(6); }

bool ToFive::file7to5() { return expander.writeCombinations(7); }

bool ToFive::file8to5() { return expander.writeCombinations(8); }

bool ToFive::file9to5() { return expander.writeCombinations(9); }
