// Our SDF reader, as the drivers call it.
#include "readers.hpp"

#include <redivi/convert/sdf.hpp>

namespace redivi::bench {

ReadResult read_sdf(std::string_view text) {
  const auto read = sdf::from_sdf(text);
  if (!read) return {0, 0, to_string(read.error())};
  return counted(read->first);
}

namespace {
const bool registered = register_reader({"SDF", {".sdf", ".mol"}, &read_sdf});
}  // namespace

}  // namespace redivi::bench
