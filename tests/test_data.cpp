// Reads test inputs from disk: corpus files from the shared corpus or its subset, gunzipped where needed.
#include "test_data.hpp"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "redivi/convert/mmcif.hpp"
#include "redivi/convert/pdb.hpp"

namespace redivi::test {
namespace {

std::optional<std::string> read_gzip(const std::filesystem::path& path) {
  gzFile file = gzopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::string text;
  char buffer[1 << 16];
  int got = 0;
  while ((got = gzread(file, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
  gzclose(file);
  if (got < 0) return std::nullopt;
  return text;
}

std::optional<std::string> read_plain(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The subset stores most files gzipped, under the corpus name with ".gz" added; the corpus files that
// are gzipped themselves it does not hold, so a trailing ".gz" there is always its own.
constexpr std::string_view subset_suffix = ".gz";

std::filesystem::path corpus_root() {
  return has_full_corpus() ? std::filesystem::path(REDIVI_DATA_DIR) : std::filesystem::path(REDIVI_TEST_DATA_DIR);
}

}  // namespace

bool has_full_corpus() { return std::filesystem::is_directory(REDIVI_DATA_DIR); }

std::optional<std::string> read_corpus_file(std::string_view relative_path) {
  std::filesystem::path path = corpus_root() / relative_path;
  if (!has_full_corpus() && !std::filesystem::exists(path)) path += subset_suffix;
  if (!std::filesystem::exists(path)) return std::nullopt;
  return path.extension() == ".gz" ? read_gzip(path) : read_plain(path);
}

std::vector<std::string> corpus_files(std::string_view folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(corpus_root() / folder, ec)) {
    if (!entry.is_regular_file()) continue;
    std::string name = entry.path().filename().string();
    if (!has_full_corpus() && name.ends_with(subset_suffix)) name.resize(name.size() - subset_suffix.size());
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<TRC> first_structure(std::string_view file_name, std::string_view text) {
  std::vector<TRC> structures;
  if (file_name.find(".cif") != std::string_view::npos) {
    auto read = mmcif::from_mmcif(text);
    if (read) structures = std::move(*read);
  } else {
    auto read = pdb::from_pdb_with_options(text, false);
    if (read) structures = std::move(*read);
  }
  if (structures.empty()) return std::nullopt;
  return std::move(structures.front());
}

std::string read_test_file(std::string_view name) {
  return read_plain(std::filesystem::path(REDIVI_TEST_DATA_DIR) / name).value_or(std::string{});
}

}  // namespace redivi::test
