#include "passes/BetweenColons.hpp"

bool BetweenColons::altering(std::string& path) {
  return rewritingHeaders(path, messages::kBetweenColons, &DateFollowed::interposed);
}
