// Hostile counts: headers that promise more than the text holds, and inputs that would make a reader
// reserve far more than they contain, end in a value or an error without huge allocations.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "redivi/convert/mmcif.hpp"
#include "redivi/convert/sdf.hpp"
#include "redivi/convert/xyz.hpp"

namespace redivi {
namespace {

// An unguarded reservation for these counts throws or exhausts memory instead of returning the error.
TEST(Limits, XyzCountsBeyondTheTextEndInAnError) {
  struct Case {
    std::string_view text;
    xyz::Error error;
  };
  const Case cases[] = {
      {"1000000000000000000\ncomment\nH 0 0 0\nH 0 0 1\n", {xyz::Error::MissingAtomLine{}}},
      {"4294967297\ncomment\nH 0 0 0\n", {xyz::Error::MissingAtomLine{}}},
      {"18446744073709551615\ncomment\n", {xyz::Error::MissingAtomLine{}}},
      {"18446744073709551616\ncomment\nH 0 0 0\n",
       {xyz::Error::ParseAtomCount{"number too large to fit in target type"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto read = xyz::from_xyz(c.text);
    ASSERT_FALSE(read.has_value());
    EXPECT_EQ(read.error(), c.error);
  }
}

// The counts line has three columns per count: 999 atoms or bonds at most, here with two atom lines.
TEST(Limits, SdfCountsBeyondTheEntryEndInAnError) {
  struct Case {
    std::string_view counts;
    sdf::SDFParseState state;
  };
  const Case cases[] = {
      {"999  0  0  0  0  0  0  0  0  0999 V2000", {sdf::SDFParseState::AtomBlock{{999, 0}}}},
      {"  2999  0  0  0  0  0  0  0  0999 V2000", {sdf::SDFParseState::BondBlock{{2, 999}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.counts);
    const std::string text = std::string("name\n  program\n\n") + std::string(c.counts) +
                             "\n    0.0000    0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
                             "    1.0000    0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
                             "M  END\n$$$$\n";
    const auto read = sdf::from_sdf(text);
    ASSERT_FALSE(read.has_value());
    const auto* parse = std::get_if<sdf::ConversionError::ParseError>(&read.error().value);
    ASSERT_NE(parse, nullptr) << debug_string(read.error());
    EXPECT_EQ(parse->error.state, c.state);
  }
}

// An mmCIF text whose first model has n atoms and which then has n more models of one atom each.
std::string many_small_models(int n) {
  std::string text =
      "data_x\nloop_\n_atom_site.group_PDB\n_atom_site.id\n_atom_site.type_symbol\n"
      "_atom_site.label_atom_id\n_atom_site.label_comp_id\n_atom_site.label_asym_id\n"
      "_atom_site.label_seq_id\n_atom_site.Cartn_x\n_atom_site.Cartn_y\n_atom_site.Cartn_z\n"
      "_atom_site.pdbx_PDB_model_num\n";
  for (int i = 1; i <= 2 * n; ++i) {
    text += "ATOM " + std::to_string(i) + " C CA ALA A 1 0 0 0 " + std::to_string(i <= n ? 1 : i - n + 1) + "\n";
  }
  return text;
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool sanitized = true;  // the sanitizers' shadow memory alone exceeds any address space limit
#else
constexpr bool sanitized = false;
#endif

// Reads the text with the process's address space limited to the given bytes; true for 8001 models.
bool reads_models_within(const std::string& text, rlim_t bytes) {
  const rlimit limit{bytes, bytes};
  setrlimit(RLIMIT_AS, &limit);
  const auto trcs = mmcif::from_mmcif(text);
  return trcs && trcs->size() == 8001;
}

// Each later model reserved the first model's size: 8000 models of one atom after one of 8000 atoms
// reserved 64 million atom records (gigabytes) for a text of 400 kB.
TEST(Limits, ManySmallMmcifModelsAfterALargeOneReserveOnlyWhatTheyHold) {
  if (sanitized) GTEST_SKIP() << "needs an address space limit";
  const std::string text = many_small_models(8000);
  EXPECT_EXIT(std::_Exit(reads_models_within(text, rlim_t{1} << 30) ? 0 : 1), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace redivi
