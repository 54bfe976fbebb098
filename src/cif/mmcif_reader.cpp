// mmCIF text to structures: the categories of each data block read into records, then one structure per model.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "cif/mmcif_records.hpp"
#include "redivi/diagnostics.hpp"
#include "text/text.hpp"
#include "text/unicode.hpp"

namespace redivi::mmcif::detail {
namespace {

constexpr std::string_view target = "redivi::convert::mmcif";

// The categories looked up here and by the secondary-structure reader, as loops or single items; the
// tokenizer passes over every other one.
constexpr std::array<std::string_view, 10> read_categories = {
    "_atom_site",         "_chem_comp_bond", "_pdbx_poly_seq_scheme",
    "_struct_ref_seq",    "_struct_conn",    "_pdbx_unobs_or_zero_occ_residues",
    "_struct_conf",       "_struct_sheet",   "_struct_sheet_order",
    "_struct_sheet_range"};

namespace atom_site {
enum : std::size_t {
  type_symbol,
  label_atom_id,
  label_alt_id,
  label_comp_id,
  label_asym_id,
  label_seq_id,
  ins_code,
  x,
  y,
  z,
  formal_charge,
  auth_asym_id,
  auth_seq_id,
  model_num,
  count
};
constexpr std::array<std::string_view, count> tags = {"_atom_site.type_symbol",
                                                      "_atom_site.label_atom_id",
                                                      "_atom_site.label_alt_id",
                                                      "_atom_site.label_comp_id",
                                                      "_atom_site.label_asym_id",
                                                      "_atom_site.label_seq_id",
                                                      "_atom_site.pdbx_PDB_ins_code",
                                                      "_atom_site.Cartn_x",
                                                      "_atom_site.Cartn_y",
                                                      "_atom_site.Cartn_z",
                                                      "_atom_site.pdbx_formal_charge",
                                                      "_atom_site.auth_asym_id",
                                                      "_atom_site.auth_seq_id",
                                                      "_atom_site.pdbx_PDB_model_num"};
using Columns = std::array<Column, count>;
}  // namespace atom_site

// The atom sites of one model, in file order.
struct Model {
  std::string_view number;
  std::vector<AtomRecord> atom_records;
};

// The atom sites of one block: its models in order of first appearance, and the texts they name.
struct BlockSites {
  std::vector<Model> models;
  SiteTexts texts;
};

// What the reader takes from one data block.
struct BlockRecords {
  BlockSites sites;
  CompBonds comp_bonds;
  PolySeq poly_seq;
  SeqBegins seq_begins;
  std::vector<Connection> connections;
  std::vector<MissingResidue> missing_residues;  // rows without a model number
  std::unordered_map<std::string_view, std::vector<MissingResidue>> model_missing_residues;
  std::map<std::string_view, std::uint64_t> skipped_rows;
};

// Consecutive rows mostly repeat a column's text, so the previous row's text is compared first; then a
// small table of recent texts by their hash, in front of the block's index (a million sites name a few
// hundred texts).
class SiteTextReader {
 public:
  TextId operator()(std::size_t column, std::string_view text, SiteTexts& texts) {
    Recent& last = last_[column];
    if (last.id != SiteTexts::absent && text::equal_short(text, last.text)) return last.id;
    Recent& recent = recent_[hash_text(0, text) % recent_.size()];
    if (recent.id == SiteTexts::absent || !text::equal_short(text, recent.text)) recent = {text, texts.id(text)};
    last = recent;
    return recent.id;
  }
  void clear() {
    last_.fill({});
    recent_.fill({});
  }

 private:
  struct Recent {
    std::string_view text;
    TextId id = SiteTexts::absent;
  };
  std::array<Recent, atom_site::count> last_{};
  std::array<Recent, 256> recent_{};
};

AtomRecord read_atom_record(Row row, const atom_site::Columns& c, SiteTexts& texts, SiteTextReader& text_of) {
  using namespace atom_site;
  const auto cell = [&](std::size_t column) { return text_of(column, row_string_or_default(row, c[column]), texts); };
  AtomRecord record;
  record.type_symbol = cell(type_symbol);
  record.label_atom_id = cell(label_atom_id);
  record.label_alt_id = cell(label_alt_id);
  record.label_comp_id = cell(label_comp_id);
  record.label_asym_id = cell(label_asym_id);
  record.label_seq_id = row_i32_or(row, c[label_seq_id], 0);
  record.ins_code = cell(ins_code);
  record.x = row_f32_or(row, c[x], 0.0f);
  record.y = row_f32_or(row, c[y], 0.0f);
  record.z = row_f32_or(row, c[z], 0.0f);
  const std::string_view charge = row_string_or_default(row, c[formal_charge]);
  record.formal_charge = charge.empty() ? 0 : parse_charge(charge).value_or(0);  // most sites carry none
  const std::string_view auth_asym = row_str_fallback(row, c[auth_asym_id], c[label_asym_id]).value_or("");
  record.auth_asym_id = text_of(auth_asym_id, auth_asym, texts);
  record.auth_seq_id = row_i32_fallback(row, c[auth_seq_id], c[label_seq_id]).value_or(0);
  return record;
}

// The atom sites of each block, read row by row while the text is tokenized. Rows of one model mostly
// follow each other, so the previous row's model is tried before the index.
class AtomSites final : public RowSink {
 public:
  void begin_loop(std::size_t block_index, std::span<const std::string_view> tags, std::size_t expected_rows) override {
    if (blocks_.size() <= block_index) blocks_.resize(block_index + 1);
    blocks_[block_index] = {};  // a later loop of the block replaces the earlier one
    block_index_ = block_index;
    columns_ = find_columns(tags, atom_site::tags);
    expected_rows_ = expected_rows;
    unreserved_ = expected_rows;
    model_index_.clear();
    model_ = nullptr;
    text_of_.clear();
  }

  void row(Row row) override {
    const std::string_view number = row_str(row, columns_[atom_site::model_num]).value_or("1");
    if (model_ == nullptr || !text::equal_short(model_->number, number)) model_ = &model_of(number);
    model_->atom_records.push_back(read_atom_record(row, columns_, blocks_[block_index_].texts, text_of_));
  }

  // The models of the block's last atom-site loop.
  BlockSites take(std::size_t block_index) {
    return block_index < blocks_.size() ? std::move(blocks_[block_index]) : BlockSites{};
  }

 private:
  Model& model_of(std::string_view number) {
    std::vector<Model>& models = blocks_[block_index_].models;
    const auto [found, added] = model_index_.try_emplace(number, models.size());
    if (added) {
      // Every later model reserves the first model's size, but all of them together no more than the
      // rows: a large first model followed by many small ones must not reserve that size for each.
      const bool first = models.empty();
      const std::size_t expected = first ? expected_rows_ : std::min(models[0].atom_records.size(), unreserved_);
      if (!first) unreserved_ -= expected;
      models.push_back(Model{number, {}});
      models.back().atom_records.reserve(expected);
    }
    return models[found->second];
  }

  std::vector<BlockSites> blocks_;
  std::size_t block_index_ = 0;
  atom_site::Columns columns_{};
  std::size_t expected_rows_ = 0;
  std::size_t unreserved_ = 0;
  std::unordered_map<std::string_view, std::size_t> model_index_;
  Model* model_ = nullptr;
  SiteTextReader text_of_;
};

void read_comp_bonds(const Loop& loop, BlockRecords& records) {
  enum : std::size_t { comp_id, atom_id_1, atom_id_2, value_order, pdbx_ordinal, count };
  constexpr std::array<std::string_view, count> tags = {"_chem_comp_bond.comp_id", "_chem_comp_bond.atom_id_1",
                                                        "_chem_comp_bond.atom_id_2", "_chem_comp_bond.value_order",
                                                        "_chem_comp_bond.pdbx_ordinal"};
  const auto c = find_columns(loop.tags, tags);
  for (std::size_t i = 0; i < loop.row_count(); ++i) {
    const Row row = loop.row(i);
    records.comp_bonds[row_string_or_default(row, c[comp_id])].push_back(
        CompBond{row_string_or_default(row, c[atom_id_1]), row_string_or_default(row, c[atom_id_2]),
                 row_str(row, c[value_order]).value_or("SING"), row_u32_or(row, c[pdbx_ordinal], 0)});
  }
}

void read_poly_seq(const Loop& loop, BlockRecords& records) {
  enum : std::size_t { seq_id, pdb_strand_id, asym_id, auth_mon_id, mon_id, count };
  constexpr std::array<std::string_view, count> tags = {
      "_pdbx_poly_seq_scheme.seq_id", "_pdbx_poly_seq_scheme.pdb_strand_id", "_pdbx_poly_seq_scheme.asym_id",
      "_pdbx_poly_seq_scheme.auth_mon_id", "_pdbx_poly_seq_scheme.mon_id"};
  const auto c = find_columns(loop.tags, tags);
  for (std::size_t i = 0; i < loop.row_count(); ++i) {
    const Row row = loop.row(i);
    const auto seq = row_i32(row, c[seq_id]);
    const auto chain = row_str_fallback(row, c[pdb_strand_id], c[asym_id]);
    const auto name = row_str_fallback(row, c[auth_mon_id], c[mon_id]);
    if (seq && chain && name) records.poly_seq[*chain].insert_or_assign(*seq, *name);
  }
}

// Alignment begins from the "_struct_ref_seq" loop, or from its single items when there is no loop.
void read_seq_begins(const DataBlock& block, BlockRecords& records) {
  constexpr std::string_view auth_begin = "_struct_ref_seq.pdbx_auth_seq_align_beg";
  constexpr std::string_view begin = "_struct_ref_seq.seq_align_beg";
  constexpr std::string_view strand_id = "_struct_ref_seq.pdbx_strand_id";
  if (const Loop* loop = get_loop_data(block, "_struct_ref_seq")) {
    const Column auth_column = find_column_index(loop->tags, auth_begin);
    const Column column = find_column_index(loop->tags, begin);
    const Column strand_column = find_column_index(loop->tags, strand_id);
    for (std::size_t i = 0; i < loop->row_count(); ++i) {
      const Row row = loop->row(i);
      const auto value = row_i32_fallback(row, auth_column, column);
      const auto strands = row_str(row, strand_column);
      if (value && strands) insert_chain_seq_begin(records.seq_begins, *strands, *value);
    }
    return;
  }
  const auto single_i32 = [&block](std::string_view tag) {
    const auto text = get_single_data(block, tag);
    return text ? parse_i32(*text) : std::nullopt;
  };
  auto value = single_i32(auth_begin);
  if (!value) value = single_i32(begin);
  const auto strands = get_single_data(block, strand_id);
  if (value && strands && !strands->empty() && *strands != "?" && *strands != ".") {
    insert_chain_seq_begin(records.seq_begins, *strands, *value);
  }
}

void read_connections(const Loop& loop, BlockRecords& records) {
  enum : std::size_t { id, conn_type_id, atom_1, asym_1, seq_1, atom_2, asym_2, seq_2, count };
  constexpr std::array<std::string_view, count> tags = {"_struct_conn.id",
                                                        "_struct_conn.conn_type_id",
                                                        "_struct_conn.ptnr1_label_atom_id",
                                                        "_struct_conn.ptnr1_label_asym_id",
                                                        "_struct_conn.ptnr1_label_seq_id",
                                                        "_struct_conn.ptnr2_label_atom_id",
                                                        "_struct_conn.ptnr2_label_asym_id",
                                                        "_struct_conn.ptnr2_label_seq_id"};
  const auto c = find_columns(loop.tags, tags);
  records.connections.reserve(loop.row_count());
  for (std::size_t i = 0; i < loop.row_count(); ++i) {
    const Row row = loop.row(i);
    records.connections.push_back(Connection{
        row_string_or_default(row, c[id]), row_string_or_default(row, c[conn_type_id]),
        row_string_or_default(row, c[atom_1]), row_string_or_default(row, c[asym_1]), row_i32_or(row, c[seq_1], 0),
        row_string_or_default(row, c[atom_2]), row_string_or_default(row, c[asym_2]), row_i32_or(row, c[seq_2], 0)});
  }
}

void read_missing_residues(const Loop& loop, BlockRecords& records) {
  enum : std::size_t {
    polymer_flag,
    auth_asym_id,
    label_asym_id,
    auth_seq_id,
    label_seq_id,
    auth_comp_id,
    label_comp_id,
    ins_code,
    model_num,
    count
  };
  constexpr std::array<std::string_view, count> tags = {
      "_pdbx_unobs_or_zero_occ_residues.polymer_flag",  "_pdbx_unobs_or_zero_occ_residues.auth_asym_id",
      "_pdbx_unobs_or_zero_occ_residues.label_asym_id", "_pdbx_unobs_or_zero_occ_residues.auth_seq_id",
      "_pdbx_unobs_or_zero_occ_residues.label_seq_id",  "_pdbx_unobs_or_zero_occ_residues.auth_comp_id",
      "_pdbx_unobs_or_zero_occ_residues.label_comp_id", "_pdbx_unobs_or_zero_occ_residues.PDB_ins_code",
      "_pdbx_unobs_or_zero_occ_residues.PDB_model_num"};
  const auto c = find_columns(loop.tags, tags);
  for (std::size_t i = 0; i < loop.row_count(); ++i) {
    const Row row = loop.row(i);
    const auto flag = row_str(row, c[polymer_flag]);
    if (flag && *flag != "Y") continue;
    const auto chain = row_str_fallback(row, c[auth_asym_id], c[label_asym_id]);
    const auto seq = row_i32_fallback(row, c[auth_seq_id], c[label_seq_id]);
    const auto name = row_str_fallback(row, c[auth_comp_id], c[label_comp_id]);
    if (!chain || !seq || !name) {
      ++records.skipped_rows[chain.value_or("<unknown>")];
      continue;
    }
    const MissingResidue residue{*chain, row_string_or_default(row, c[ins_code]), *name, *seq};
    const std::string_view model = row_string_or_default(row, c[model_num]);
    (model.empty() ? records.missing_residues : records.model_missing_residues[model]).push_back(residue);
  }
}

void warn_skipped_rows(const BlockRecords& records) {
  if (!diagnostics::enabled(diagnostics::Level::warn)) return;
  for (const auto& [chain, count] : records.skipped_rows) {
    diagnostics::emit(
        target, diagnostics::Level::warn,
        text::concat("mmCIF: chain ", chain, ": skipped ", count,
                     " _pdbx_unobs_or_zero_occ_residues row(s) due to missing chain/sequence/name fields"));
  }
}

// The atom sites count only when the block's last item under their key is their loop.
BlockRecords read_block(const DataBlock& block, BlockSites sites) {
  BlockRecords records;
  if (get_loop_data(block, "_atom_site") != nullptr) records.sites = std::move(sites);
  if (const Loop* loop = get_loop_data(block, "_chem_comp_bond")) read_comp_bonds(*loop, records);
  if (const Loop* loop = get_loop_data(block, "_pdbx_poly_seq_scheme")) read_poly_seq(*loop, records);
  read_seq_begins(block, records);
  if (const Loop* loop = get_loop_data(block, "_struct_conn")) read_connections(*loop, records);
  if (const Loop* loop = get_loop_data(block, "_pdbx_unobs_or_zero_occ_residues")) {
    read_missing_residues(*loop, records);
  }
  warn_skipped_rows(records);
  return records;
}

// Appends the structure of each model of the block.
std::expected<void, MmCifError> build_block(const DataBlock& block, BlockSites sites, std::vector<TRC>& structures) {
  BlockRecords records = read_block(block, std::move(sites));
  const SecondaryStructureRecords secondary_structure = parse_secondary_structure(block);
  for (Model& model : records.sites.models) {
    std::vector<MissingResidue> missing_residues = records.missing_residues;
    if (const auto found = records.model_missing_residues.find(model.number);
        found != records.model_missing_residues.end()) {
      missing_residues.insert(missing_residues.end(), found->second.begin(), found->second.end());
    }
    auto structure =
        build_trc(std::move(model.atom_records), records.sites.texts, records.connections, records.comp_bonds,
                  missing_residues, records.poly_seq, records.seq_begins, secondary_structure);
    if (!structure) return std::unexpected(std::move(structure.error()));
    structures.push_back(std::move(*structure));
  }
  return {};
}

}  // namespace

std::optional<std::int32_t> parse_charge(std::string_view text) {
  text = unicode::trim(text);
  if (text.empty()) return 0;  // a blank charge is neutral
  return text::parse_charge(text);
}

void insert_chain_seq_begin(SeqBegins& seq_begins, std::string_view strand_ids, std::int32_t begin) {
  while (true) {
    const std::size_t comma = strand_ids.find(',');
    const std::string_view strand = unicode::trim(strand_ids.substr(0, comma));
    if (!strand.empty()) seq_begins.try_emplace(strand, begin);
    if (comma == std::string_view::npos) return;
    strand_ids.remove_prefix(comma + 1);
  }
}

}  // namespace redivi::mmcif::detail

namespace redivi::mmcif {

std::expected<std::vector<TRC>, MmCifError> from_mmcif(std::string_view contents) {
  detail::AtomSites atom_sites;
  auto blocks = detail::parse_mmcif(contents, detail::read_categories, "_atom_site", atom_sites);
  if (!blocks) return std::unexpected(std::move(blocks.error()));
  std::vector<TRC> structures;
  for (std::size_t i = 0; i < blocks->size(); ++i) {
    auto built = detail::build_block((*blocks)[i], atom_sites.take(i), structures);
    if (!built) return std::unexpected(std::move(built.error()));
  }
  return structures;
}

}  // namespace redivi::mmcif
