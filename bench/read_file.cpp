// Reads one structure file with our reader and exits, so that an outside timer can measure the
// peak memory of a read; also writes the generated large texts to files.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "generate.hpp"
#include "readers.hpp"
#include "test_data.hpp"

namespace {

constexpr std::string_view usage =
    "usage: redivi_read_file FILE\n"
    "         reads FILE (.pdb, .ent, .cif, .sdf, .mol or .xyz, optionally .gz) with the reader of its kind\n"
    "       redivi_read_file --generate pdb|pdb-recurring|mmcif|sdf-small FILE\n"
    "         writes a generated text to FILE: the one-million-atom PDB, the PDB whose chains recur,\n"
    "         the one-million-atom mmCIF or the 102,500 small molecules of solubility.train.sdf\n";

struct GeneratedKind {
  std::string_view name;
  std::optional<redivi::bench::Generated> (*make)();
  std::string_view unit;
};

constexpr GeneratedKind generated_kinds[] = {
    {"pdb", &redivi::bench::large_pdb, "atoms"},
    {"pdb-recurring", &redivi::bench::recurring_chain_pdb, "atoms"},
    {"mmcif", &redivi::bench::large_mmcif, "atoms"},
    {"sdf-small", &redivi::bench::small_molecule_sdf, "molecules"},
};

// The whole file in one allocation of its size, so that the peak memory holds the text once.
std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
  if (path.extension() == ".gz") return redivi::test::read_corpus_file(std::filesystem::absolute(path).string());
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  std::string text(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) return std::nullopt;
  return text;
}

long peak_resident_kib() {
  rusage usage_now{};
  getrusage(RUSAGE_SELF, &usage_now);
  return usage_now.ru_maxrss;
}

int read(const std::filesystem::path& path) {
  const redivi::bench::Reader* reader = redivi::bench::reader_for(path.string());
  if (reader == nullptr) {
    std::cerr << "no reader in this build for " << path << "\n" << usage;
    return 2;
  }
  const std::optional<std::string> text = read_whole_file(path);
  if (!text) {
    std::cerr << "cannot read " << path << "\n";
    return 1;
  }
  const redivi::bench::ReadResult result = reader->read(*text);
  if (!result.error.empty()) {
    std::cerr << path.string() << ": " << result.error << "\n";
    return 1;
  }
  const long peak = peak_resident_kib();
  const double text_kib = static_cast<double>(text->size()) / 1024.0;
  std::cout << path.string() << ": " << result.atoms << " atoms in " << result.structures << " structures, text "
            << static_cast<long>(text_kib) << " KiB, peak resident " << peak << " KiB, beyond the text "
            << (static_cast<double>(peak) - text_kib) * 1024.0 / static_cast<double>(result.atoms)
            << " bytes per atom\n";
  return 0;
}

int generate(std::string_view kind, const std::filesystem::path& path) {
  const GeneratedKind* found = std::ranges::find(generated_kinds, kind, &GeneratedKind::name);
  if (found == std::end(generated_kinds)) {
    std::cerr << usage;
    return 2;
  }
  const std::optional<redivi::bench::Generated> generated = found->make();
  if (!generated) {
    std::cerr << "the corpus file is missing\n";
    return 1;
  }
  std::ofstream out(path, std::ios::binary);
  out.write(generated->text.data(), static_cast<std::streamsize>(generated->text.size()));
  if (!out) {
    std::cerr << "cannot write " << path << "\n";
    return 1;
  }
  std::cout << path.string() << ": " << generated->count << " " << found->unit << ", " << generated->text.size()
            << " bytes\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) return read(argv[1]);
  if (argc == 4 && std::string_view(argv[1]) == "--generate") return generate(argv[2], argv[3]);
  std::cerr << usage;
  return 2;
}
