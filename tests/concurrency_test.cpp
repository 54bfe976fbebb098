// Every reader and writer on every corpus file: the same result on every thread and on every read,
// while a diagnostics sink comes and goes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>
#include <vector>

#include "redivi/convert/mmcif.hpp"
#include "redivi/convert/pdb.hpp"
#include "redivi/convert/sdf.hpp"
#include "redivi/convert/xyz.hpp"
#include "redivi/diagnostics.hpp"
#include "test_data.hpp"

namespace redivi {
namespace {

struct Corpus {
  std::vector<std::string> pdb, cif, sdf, xyz;
};

std::vector<std::string> read_folder(std::string_view folder) {
  std::vector<std::string> texts;
  for (const std::string& name : test::corpus_files(folder)) {
    texts.push_back(test::read_corpus_file(std::string(folder) + "/" + name).value_or(""));
  }
  return texts;
}

Corpus read_corpus() { return {read_folder("pdb"), read_folder("cif"), read_folder("sdf"), read_folder("xyz")}; }

// Everything the readers return for the corpus, and every structure written back as text
// (or the writer's error text).
struct Readings {
  std::vector<std::expected<std::vector<TRC>, pdb::Error>> pdb;
  std::vector<std::expected<std::vector<TRC>, mmcif::MmCifError>> mmcif;
  std::vector<
      std::expected<std::pair<std::vector<TRC>, std::vector<std::optional<sdf::DataBlocks>>>, sdf::ConversionError>>
      sdf;
  std::vector<std::expected<Topology, xyz::Error>> xyz;
  std::vector<std::string> written;

  friend bool operator==(const Readings&, const Readings&) = default;
};

template <class Result>
void write_pdb(const Result& read, std::vector<std::string>& written) {
  if (!read) return;
  for (const TRC& trc : *read) {
    const auto text = pdb::to_pdb(trc);
    written.push_back(text ? *text : to_string(text.error()));
  }
}

void read_pdb(const Corpus& corpus, Readings& out) {
  for (const std::string& text : corpus.pdb) {
    for (const bool include_seqres : {false, true}) {
      out.pdb.push_back(pdb::from_pdb_with_options(text, include_seqres));
      write_pdb(out.pdb.back(), out.written);
    }
  }
  for (const std::string& text : corpus.cif) {
    out.mmcif.push_back(mmcif::from_mmcif(text));
    write_pdb(out.mmcif.back(), out.written);
  }
}

void read_small_molecules(const Corpus& corpus, Readings& out) {
  for (const std::string& text : corpus.sdf) {
    out.sdf.push_back(sdf::from_sdf(text));
    if (!out.sdf.back()) continue;
    std::string written;
    const auto& [trcs, extras] = *out.sdf.back();
    const auto ok = sdf::to_sdf(trcs, extras, written);
    out.written.push_back(ok ? written : to_string(ok.error()));
  }
  for (const std::string& text : corpus.xyz) {
    out.xyz.push_back(xyz::from_xyz(text));
    if (!out.xyz.back()) continue;
    const auto written = xyz::to_xyz(*out.xyz.back());
    out.written.push_back(written ? *written : to_string(written.error()));
  }
}

Readings read_all(const Corpus& corpus) {
  Readings readings;
  read_pdb(corpus, readings);
  read_small_molecules(corpus, readings);
  return readings;
}

TEST(Concurrency, EightThreadsReadEveryFileAsOneThreadDoesWhileTheSinkChanges) {
  const Corpus corpus = read_corpus();
  ASSERT_FALSE(corpus.pdb.empty()) << "neither the shared corpus nor tests/data holds PDB files";
  const Readings expected = read_all(corpus);

  constexpr std::size_t thread_count = 8;
  std::vector<Readings> results(thread_count);
  std::atomic<std::size_t> running{thread_count};
  std::atomic<std::size_t> events{0};
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < thread_count; ++i) {
    threads.emplace_back([&, i] {
      results[i] = read_all(corpus);
      --running;
    });
  }
  // Install, replace and remove the sink while the readers run; each sink only counts.
  std::size_t changes = 0;
  while (running.load() > 0) {
    const auto level = changes % 3 == 0 ? diagnostics::Level::debug : diagnostics::Level::warn;
    if (changes % 4 == 3) {
      diagnostics::clear_sink();
    } else {
      diagnostics::set_sink([&events](const diagnostics::Event&) { ++events; }, level);
    }
    ++changes;
    std::this_thread::yield();
  }
  for (std::thread& thread : threads) thread.join();
  diagnostics::clear_sink();

  EXPECT_GT(changes, 0u);
  for (std::size_t i = 0; i < thread_count; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(results[i] == expected);
  }
}

TEST(Determinism, TwoReadsOfTheCorpusGiveEqualStructuresAndTheSameWrittenBytes) {
  const Corpus corpus = read_corpus();
  ASSERT_FALSE(corpus.pdb.empty()) << "neither the shared corpus nor tests/data holds PDB files";
  const Readings first = read_all(corpus);
  const Readings second = read_all(corpus);
  EXPECT_TRUE(first.pdb == second.pdb);
  EXPECT_TRUE(first.mmcif == second.mmcif);
  EXPECT_TRUE(first.sdf == second.sdf);
  EXPECT_TRUE(first.xyz == second.xyz);
  ASSERT_EQ(first.written.size(), second.written.size());
  for (std::size_t i = 0; i < first.written.size(); ++i) EXPECT_EQ(first.written[i], second.written[i]) << i;
  EXPECT_GT(first.written.size(), corpus.pdb.size());
}

}  // namespace
}  // namespace redivi
