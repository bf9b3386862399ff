#include "passes/DateFollowedByName.hpp"

bool DateFollowedByName::altering(std::string& path) {
  return rewritingHeaders(path, 18, "e19: in.getline(c, BUFFER_SIZE" + closing,
                          &DateFollowed::rebuild);
}
