// Our XYZ reader, as the drivers call it.
#include "readers.hpp"

#include <redivi/convert/xyz.hpp>

namespace redivi::bench {

ReadResult read_xyz(std::string_view text) {
  const auto topology = xyz::from_xyz(text);
  if (!topology) return {0, 0, to_string(topology.error())};
  return {1, topology->symbols.size(), {}};
}

namespace {
const bool registered = register_reader({"XYZ", {".xyz", ".xyz"}, &read_xyz});
}  // namespace

}  // namespace redivi::bench
