#include "Messages.hpp"

std::string numbered(int number, std::string_view text) {
  std::string message = "e" + std::to_string(number) + ": ";
  message += text;
  return message;
}

Failure numberedFailure(int number, std::string_view text, std::string_view file) {
  return Failure::of(number, numbered(number, text), file);
}

Failure openFailure(int number, std::string_view name) {
  std::string text = "ifstream in( ";
  text += name;
  text += " )";
  return numberedFailure(number, text, name);
}

Failure saveFailure(std::string_view name) {
  std::string text = "ofstream saveFile( ";
  text += name;
  text += " )";
  return numberedFailure(messages::kSaveFile, text, name);
}
