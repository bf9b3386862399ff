#include "ToSeven.hpp"

constinit const Expander::Game ToSeven::game = {
    37,
    7,
    {{" 8to7", 8}, {" 9to7", 9}, {"10to7", 10}, {"11to7", 11}},
    "e53: wrongBall()",
    "e54: s == ball[i]"};

ToSeven::ToSeven(const std::string& fileName, const std::string& numberLine)
    : expander(game, fileName, numberLine) {}

bool ToSeven::writeFile() { return expander.writeFile(); }

std::string ToSeven::inquiry() const { return expander.inquiry(); }

bool ToSeven::wrongBall(const std::string& s) { return expander.wrongBall(s); }

bool ToSeven::file8to7() { return expander.writeCombinations(8); }

bool ToSeven::file9to7() { return expander.writeCombinations(9); }

bool ToSeven::file10to7() { return expander.writeCombinations(10); }

bool ToSeven::file11to7() { return expander.writeCombinations(11); }
