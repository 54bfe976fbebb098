// redivi/convert/sdf.hpp alone: every function it declares compiles and links.
#include "redivi/convert/sdf.hpp"

namespace header_check {

// Never run: building it is the check.
void sdf_hpp() {
  namespace sdf = redivi::sdf;
  for (const auto& entry : sdf::sdf_entries("")) {
    if (const auto* error = std::get_if<sdf::SDFParseError>(&entry)) {
      to_string(*error);
      debug_string(*error);
      to_string(error->state);
      debug_string(error->state);
      to_string(error->ty);
      debug_string(error->ty);
    } else if (auto molecule = sdf::parse_sdf_entry(std::get<sdf::SDFEntry>(entry).text)) {
      std::move(*molecule).try_into();
    }
  }
  const auto structures = sdf::from_sdf("");
  if (!structures) {
    to_string(structures.error());
    debug_string(structures.error());
    return;
  }
  std::string out;
  const auto written = sdf::to_sdf(structures->first, structures->second, out);
  if (!written) {
    to_string(written.error());
    debug_string(written.error());
  }
}

}  // namespace header_check
