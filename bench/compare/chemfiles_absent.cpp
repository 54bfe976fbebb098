// Stands in for chemfiles_peer.cpp in a build without chemfiles: no chemfiles sides.
#include "peers.hpp"

namespace redivi::compare {

std::vector<Side> chemfiles_readers(std::string_view, const std::string&, Outcome (*)(const bench::ReadResult&)) {
  return {};
}

std::vector<Side> chemfiles_writers(std::string_view, const std::string&, Frames) { return {}; }

std::string_view chemfiles_legend() {
  return "chemfiles is not in this build (bench/compare/run.sh builds it when its source snapshot is there).\n\n";
}

}  // namespace redivi::compare
