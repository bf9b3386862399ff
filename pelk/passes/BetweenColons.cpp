#include "passes/BetweenColons.hpp"

bool BetweenColons::altering(std::string& path) {
  return rewritingHeaders(path, 6, "e7: in.getline(c, BUFFER_SIZE" + closing,
                          &DateFollowed::interposed);
}
