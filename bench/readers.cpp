// The list of our readers that the build holds, looked up by file extension.
#include "readers.hpp"

#include <algorithm>

namespace redivi::bench {
namespace {

std::vector<Reader>& registered() {
  static std::vector<Reader> readers;
  return readers;
}

}  // namespace

ReadResult counted(std::span<const TRC> structures) {
  ReadResult result{structures.size(), 0, {}};
  for (const TRC& trc : structures) result.atoms += trc.topology.symbols.size();
  return result;
}

bool register_reader(const Reader& reader) {
  registered().push_back(reader);
  return true;
}

const Reader* reader_for(std::string_view path) {
  if (path.ends_with(".gz")) path.remove_suffix(3);
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return nullptr;
  const std::string_view extension = path.substr(dot);
  for (const Reader& reader : registered()) {
    if (std::ranges::find(reader.extensions, extension) != reader.extensions.end()) return &reader;
  }
  return nullptr;
}

}  // namespace redivi::bench
