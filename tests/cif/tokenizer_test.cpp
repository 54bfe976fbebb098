// CIF text to data blocks: block headers, cells, rows over lines, items, column lookup and cell numbers.
#include "cif/document.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "listed_file.hpp"
#include "test_data.hpp"

namespace redivi::mmcif::detail {
namespace {

std::vector<DataBlock> parse(std::string_view text) {
  auto blocks = parse_mmcif(text);
  EXPECT_TRUE(blocks.has_value());
  return blocks ? std::move(*blocks) : std::vector<DataBlock>{};
}

std::vector<std::string> cells(const Loop& loop) { return {loop.cells.begin(), loop.cells.end()}; }

// The cells of a loop of `width` tags whose value lines are `values`; empty when its rows were dropped.
std::vector<std::string> loop_cells(std::string_view values, std::size_t width) {
  std::string text = "data_t\nloop_\n";
  for (std::size_t i = 0; i < width; ++i) text += "_t.c" + std::to_string(i) + "\n";
  text += values;
  const auto blocks = parse(text);
  const Loop* loop = blocks.empty() ? nullptr : get_loop_data(blocks[0], "_t");
  return loop ? cells(*loop) : std::vector<std::string>{{"<no loop>"}};
}

TEST(CifTokenizer, FindsBlocksOnlyAtLowerCaseHeaders) {
  struct Case {
    std::string_view text;
    std::vector<std::string_view> names;
  };
  const Case cases[] = {
      {"", {}},
      {"loop_\n_a.b\n1\n_x.y 2\n", {}},
      {"data_\n", {""}},
      {"data_one\n# comment\n  data_two  \r\ndata_one\n", {"one", "two", "one"}},
      {"DATA_x\nLOOP_\n", {}},
      {"data_x \xE2\x80\x83\n", {"x"}},  // trailing EM SPACE is white space
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto blocks = parse(c.text);
    std::vector<std::string_view> names;
    for (const DataBlock& block : blocks) names.push_back(block.name);
    EXPECT_EQ(names, c.names);
  }
}

TEST(CifTokenizer, SplitsValueLinesIntoCells) {
  struct Case {
    std::string_view line;
    std::vector<std::string> cells;
  };
  const Case cases[] = {
      {"'a b'", {"a b"}},
      {"\"O5'\"", {"O5'"}},
      {"x'y z'", {"xy z"}},
      {"x''", {"x"}},
      {"'' a", {"a"}},
      {"'a'b", {"a", "b"}},
      {"? . '?'", {"", "", ""}},
      {"?x .5", {"?x", ".5"}},
      {";text and more", {""}},
      {"a;b", {"a;b"}},
      {"'open to the end", {"open to the end"}},
      {"\ta\x0B"
       "b\fc",
       {"a", "b", "c"}},
      {"a\xC2\xA0"
       "b\xE3\x80\x80"
       "c\xE2\x80\xA9"
       "d",
       {"a", "b", "c", "d"}},                                   // NBSP, IDEOGRAPHIC SPACE, PS
      {"\xC3\xA9 \xE2\x82\xAC", {"\xC3\xA9", "\xE2\x82\xAC"}},  // letters stay whole
      {"\xE2\x80\x8B"
       "a",
       {"\xE2\x80\x8B"
        "a"}},  // ZERO WIDTH SPACE is no white space
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(loop_cells(std::string(c.line) + "\n", c.cells.size()), c.cells);
  }
}

// The tokenizing rules over ASCII text, character by character: what the cells of a line must be.
std::vector<std::string> rule_cells(std::string_view line) {
  std::vector<std::string> cells;
  std::string token;
  const auto end_token = [&] {
    if (!token.empty()) cells.push_back(token == "?" || token == "." ? "" : token);
    token.clear();
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\'' || c == '"') {
      const std::size_t close = std::min(line.find(c, i + 1), line.size());
      token += line.substr(i + 1, close - i - 1);
      end_token();
      i = close;
    } else if (c == ';' && token.empty()) {
      cells.emplace_back();
      return cells;
    } else if (c == ' ' || (c >= '\t' && c <= '\r')) {
      end_token();
    } else {
      token += c;
    }
  }
  end_token();
  return cells;
}

// Long lines mixing plain tokens of every length with blanks, tabs, quotes, glued and null tokens, so that
// every kind of byte falls before, on and after the 64-byte steps of the splitter; each line is read once
// followed by a line feed and once at the very end of the text.
TEST(CifTokenizer, SplitsLongLinesAsTheRulesSay) {
  const std::string_view pieces[] = {" ", "   ", "\t", "'a b'", "\"O5'\"", "x'y z'", "''",    " ; rest",
                                     "?", ".",   "#",  "a;b",   "'?'",     "-12.5",  "HETATM"};
  std::uint64_t state = 42;
  const auto next = [&state](std::uint64_t bound) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return (state >> 33) % bound;
  };
  for (int n = 0; n < 3000; ++n) {
    std::string line = "A";
    const std::size_t length = 1 + next(300);
    while (line.size() < length) {
      if (next(3) == 0) {
        line += pieces[next(std::size(pieces))];
      } else {
        line += std::string(1 + next(next(4) == 0 ? 80 : 8), static_cast<char>('b' + next(20))) + " ";
      }
    }
    SCOPED_TRACE(line);
    const std::vector<std::string> expected = rule_cells(line);
    EXPECT_EQ(loop_cells(line + "\n", expected.size()), expected);
    EXPECT_EQ(loop_cells(line, expected.size()), expected);
  }
}

TEST(CifTokenizer, JoinsRowsOverLinesAndDropsRowsOfTheWrongLength) {
  struct Case {
    std::string_view values;
    std::size_t width;
    std::vector<std::string> cells;
  };
  const Case cases[] = {
      {"A 1\n2\n", 3, {"A", "1", "2"}},
      {"A 1\n\n2\n", 3, {"A", "1", "2"}},
      {"A 1 2 3\nB 4 5\n", 3, {"B", "4", "5"}},
      {"A 1\n_x.y\n", 3, {}},
      {"A 1\nloop_\n", 3, {}},
      {"A 1", 3, {}},
      {"A\n# note\n", 2, {}},
      {"A\nB\n", 2, {"A", "B"}},
      {"# before\nA B\n\n# between\nC D\n", 2, {"A", "B", "C", "D"}},
      {";\nx\n", 2, {"", "x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.values);
    EXPECT_EQ(loop_cells(c.values, c.width), c.cells);
  }
}

// A text field (the lines from one that starts with ";" to the next) is no value: each ";" line is an
// empty cell and the lines between are cells of their own; an item whose value it is, is not kept.
TEST(CifTokenizer, ReadsNoValueFromAMultiLineTextField) {
  // Rows "A" + "", then "second line"; the closing ";" and "B C" make three cells, a row that is dropped.
  EXPECT_EQ(loop_cells("A\n;first line\nsecond line\n;\nB C\n", 2),
            (std::vector<std::string>{"A", "", "second", "line"}));
  const auto blocks = parse("data_x\n_x.text\n;\nsome words\n;\n_x.after 1\n");
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].items.size(), 1u);
  EXPECT_EQ(get_single_data(blocks[0], "_x.after"), "1");
}

TEST(CifTokenizer, KeepsItemsUnderTheirKeysAndTheLaterOneWins) {
  const auto blocks = parse(
      "_before.block 1\n"
      "data_x\n"
      "_struct_ref_seq.pdbx_strand_id A\n"
      "_quoted.item   'A' \n"
      "_null.item ?\n"
      "_tag.alone\n"
      "loop_\n_cat.a\n_cat.b\n1 2\n"
      "loop_\n_cat.c\n3\n"
      "_kind 1\n"
      "loop_\n_kind\n4\n"
      "loop_\n_to_value.x\n5\n"
      "_to_value 7\n"
      "loop_\n1 2\n_empty.loop 6\n");
  ASSERT_EQ(blocks.size(), 1u);
  const DataBlock& block = blocks[0];
  EXPECT_EQ(get_single_data(block, "_struct_ref_seq.pdbx_strand_id"), "A");
  EXPECT_EQ(get_single_data(block, "_quoted.item"), "'A'");
  EXPECT_EQ(get_single_data(block, "_null.item"), "?");
  EXPECT_EQ(get_single_data(block, "_tag.alone"), std::nullopt);
  EXPECT_EQ(get_single_data(block, "_before.block"), std::nullopt);
  EXPECT_EQ(get_single_data(block, "_empty.loop"), "6");
  const Loop* cat = get_loop_data(block, "_cat");
  ASSERT_NE(cat, nullptr);
  EXPECT_EQ(cat->tags, (std::vector<std::string_view>{"_cat.c"}));
  EXPECT_EQ(cells(*cat), (std::vector<std::string>{"3"}));
  EXPECT_EQ(get_single_data(block, "_kind"), std::nullopt);
  ASSERT_NE(get_loop_data(block, "_kind"), nullptr);
  EXPECT_EQ(get_loop_data(block, "_to_value"), nullptr);
  EXPECT_EQ(get_single_data(block, "_to_value"), "7");
  EXPECT_EQ(get_single_data(block, "_cat"), std::nullopt);
}

// Takes the rows of the streamed category as one list of cells per loop.
class CollectedRows final : public RowSink {
 public:
  std::vector<std::vector<std::string>> loops;
  void begin_loop(std::size_t, std::span<const std::string_view>, std::size_t) override { loops.emplace_back(); }
  void row(Row row) override { loops.back().insert(loops.back().end(), row.begin(), row.end()); }
};

// An item of a block as text: a loop's tags and cells, or a single item's value; "<none>" when absent.
std::string item_text(const DataBlock& block, std::string_view key) {
  const auto found = block.items.find(key);
  if (found == block.items.end()) return "<none>";
  if (const auto* value = std::get_if<std::string_view>(&found->second)) return "value " + std::string(*value);
  std::string text = "loop";
  const Loop& loop = std::get<Loop>(found->second);
  for (const std::string_view tag : loop.tags) text += " " + std::string(tag);
  for (const std::string_view cell : loop.cells) text += " [" + std::string(cell) + "]";
  return text;
}

// Passing over the loops of other categories ends them where reading them would: value lines that look like
// quotes, text fields or keywords in the middle of a line change nothing, and a line that starts with a tag,
// "loop_" or "data_" (also inside a text field) ends the loop in both cases.
TEST(CifTokenizer, KeepsOnlyTheNamedCategoriesAsIfAllWereRead) {
  const std::string_view texts[] = {
      "data_a\nloop_\n_skip.a\n_skip.b\n'loop_ x' \"_y z\"\n'a b' ;c\n# note\n\nloop_\n_keep.a\n_keep.b\n1 2\n",
      "data_a\nloop_\n_skip.a\n_skip.b\n1\n;\ntext 'with a quote\n;\n_keep.item 5\nloop_\n_s.a\nx\n",
      "data_a\nloop_\n_skip.a\n;\nloop_ in a text field\n_keep.a\n3\n;\n_skip.item 4\n_keep.b x y\n",
      "data_a\nloop_\n_skip.a\n1\n  data_b\nloop_\n_keep.a\n2\n_keeper.a 6\n_keep 7\nloop_\n_s.a\n_s.b\n'u v' w\n",
      "data_a\n_s.a 1\nloop_\n_s.a\n_s.b\n\"O5'\" y\nA\n;x\n#c\nB C\nloop_\n_keep\n1\nloop_\n_skip.a\n\"_keep.a 2\n",
  };
  constexpr std::string_view kept[] = {"_keep", "_s"};
  const std::string_view keys[] = {"_keep", "_keep.a", "_keep.b",    "_keep.item", "_s",       "_s.a",
                                   "_skip", "_skip.a", "_skip.item", "_keeper",    "_keeper.a"};
  for (const std::string_view text : texts) {
    SCOPED_TRACE(text);
    const auto all = parse(text);
    CollectedRows streamed;
    const auto some = parse_mmcif(text, kept, "_s", streamed);
    ASSERT_TRUE(some.has_value());
    ASSERT_EQ(some->size(), all.size());
    std::vector<std::vector<std::string>> expected_rows;
    for (std::size_t b = 0; b < all.size(); ++b) {
      for (const std::string_view key : keys) {
        SCOPED_TRACE(key);
        const bool keeps = key.starts_with("_keep") && !key.starts_with("_keeper");
        if (key == "_s") {
          if (const Loop* loop = get_loop_data(all[b], "_s")) expected_rows.push_back(cells(*loop));
        } else {
          EXPECT_EQ(item_text((*some)[b], key), keeps || key == "_s.a" ? item_text(all[b], key) : "<none>");
        }
      }
    }
    EXPECT_EQ(streamed.loops, expected_rows);
  }
}

TEST(CifTokenizer, FindsColumnsByExactTag) {
  const std::vector<std::string_view> tags = {"_a.x", "_a.y", "_a.x"};
  EXPECT_EQ(find_column_index(tags, "_a.x"), 0u);
  EXPECT_EQ(find_column_index(tags, "_a.y"), 1u);
  EXPECT_EQ(find_column_index(tags, "_a.Y"), std::nullopt);
  EXPECT_EQ(find_column_index(tags, "_a"), std::nullopt);
}

TEST(CifCells, ReadIntegersWithTheirDefaults) {
  struct Case {
    std::string_view cell;
    std::int32_t i32;
    std::uint32_t u32;
  };
  const Case cases[] = {
      {"12", 12, 12},
      {"+12", 12, 12},
      {"-12", -12, 7},
      {"1.0", 0, 7},
      {"", 0, 7},
      {"2147483648", 0, 2147483648u},
      {"-2147483648", -2147483648, 7},
      {"4294967296", 0, 7},
      {"-0", 0, 7},
      {"+", 0, 7},
      {"-", 0, 7},
      {"+-1", 0, 7},
      {"1 ", 0, 7},
      {"0x1", 0, 7},
      {"99999999999999999999", 0, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    const std::string_view row[] = {"other", c.cell};
    EXPECT_EQ(row_i32_or(row, 1, 0), c.i32);
    EXPECT_EQ(row_u32_or(row, 1, 7), c.u32);
  }
}

TEST(CifCells, ReadFloatsWithTheirDefaults) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  struct Case {
    std::string_view cell;
    float value;
  };
  const Case cases[] = {
      {"1.5", 1.5f},
      {"+1.5", 1.5f},
      {"-.5", -0.5f},
      {"2.", 2.0f},
      {"1e3", 1000.0f},
      {"1E-2", 0.01f},
      {"INF", inf},
      {"-Infinity", -inf},
      {"1e999", inf},
      {"-1e999", -inf},
      {"1e-999", 0.0f},
      {"123456789012345678901234567890123456789012345", inf},
      {"0.0000000000000000000000000000000000000000000000000001", 0.0f},
      {"", 9.0f},
      {".", 9.0f},
      {"1e", 9.0f},
      {"e5", 9.0f},
      {"+-1", 9.0f},
      {"1.5x", 9.0f},
      {"nan(1)", 9.0f},
      {"0x1p3", 9.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    const std::string_view row[] = {c.cell};
    EXPECT_EQ(row_f32_or(row, 0, 9.0f), c.value);
  }
  const std::string_view nan_row[] = {"NaN"};
  EXPECT_TRUE(std::isnan(row_f32_or(nan_row, 0, 9.0f)));
}

// Decimal cells read to the nearest float, bit for bit as the general parser rounds them, across the
// precision limits of a float (24-bit integers, ten digits after the point) and their signs.
TEST(CifCells, ReadDecimalsToTheNearestFloat) {
  const auto general = [](std::string_view text) {
    float value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    return value;
  };
  const auto same_bits = [](float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  std::vector<std::string> cells = {"16777216",     "16777217",      "16777.219",
                                    "-16777217.5",  "0.1",           "-0.000",
                                    "0.0000000001", "0.00000000001", "0.33333333333",
                                    "1234567.891",  "007.50",        "3.4028235e38",
                                    "-0",           ".75",           "8."};
  std::uint64_t state = 12345;
  for (int i = 0; i < 100000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    std::string digits = std::to_string((state >> 20) % 100000000u);
    const std::size_t point = (state >> 8) % (digits.size() + 1);
    digits.insert(digits.begin() + static_cast<std::ptrdiff_t>(point), '.');
    cells.push_back(((state >> 4) & 1) ? "-" + digits : digits);
  }
  for (const std::string& cell : cells) {
    SCOPED_TRACE(cell);
    const std::string_view row[] = {cell};
    EXPECT_TRUE(same_bits(row_f32_or(row, 0, 9.0f), general(cell)));
  }
}

TEST(CifCells, MissingColumnsAndEmptyCellsGiveDefaults) {
  const std::string_view row[] = {"", "B", "7"};
  const Column missing;
  const Column beyond = 3;
  for (const Column column : {missing, beyond}) {
    EXPECT_EQ(row_str(row, column), std::nullopt);
    EXPECT_EQ(row_i32(row, column), std::nullopt);
    EXPECT_EQ(row_string_or_default(row, column), "");
    EXPECT_EQ(row_i32_or(row, column, -1), -1);
    EXPECT_EQ(row_u32_or(row, column, 5), 5u);
    EXPECT_EQ(row_f32_or(row, column, 2.5f), 2.5f);
  }
  EXPECT_EQ(row_str(row, 0), std::nullopt);
  EXPECT_EQ(row_string_or_default(row, 0), "");
  EXPECT_EQ(row_str_fallback(row, 0, 1), "B");
  EXPECT_EQ(row_str_fallback(row, missing, 1), "B");
  EXPECT_EQ(row_str_fallback(row, 2, 1), "7");
  EXPECT_EQ(row_i32_fallback(row, 1, 2), 7);
  EXPECT_EQ(row_i32_fallback(row, missing, missing), std::nullopt);
}

TEST(CifTokenizer, ReadsTheSyntaxCorpusFiles) {
  struct Case {
    std::string_view file;
    std::size_t blocks;
  };
  const Case cases[] = {{"cif/misc_syntax.cif", 4}, {"cif/eol-test.cif", 1}, {"cif/components-000-001-002.cif", 3}};
  std::size_t read = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto text = test::read_listed_file(c.file);
    if (!text) continue;
    ++read;
    EXPECT_EQ(parse(*text).size(), c.blocks);
  }
  EXPECT_GT(read, 0u);
}

}  // namespace
}  // namespace redivi::mmcif::detail
