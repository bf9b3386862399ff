#include "passes/DateFollowedByName.hpp"

bool DateFollowedByName::altering(std::string& path) {
  return rewritingHeaders(path, messages::kDateFollowedByName, &DateFollowed::rebuild);
}
