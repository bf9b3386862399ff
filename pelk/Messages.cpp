#include "Messages.hpp"

std::string numbered(int number, std::string_view text) {
  std::string message = "e" + std::to_string(number) + ": ";
  message += text;
  return message;
}

std::string openMessage(int number, std::string_view name) {
  std::string text = "ifstream in( ";
  text += name;
  text += " )";
  return numbered(number, text);
}
