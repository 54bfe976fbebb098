// mmCIF helices and sheet strands: read once per data block, then resolved against each structure.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cif/mmcif_records.hpp"
#include "model/insertion_code.hpp"
#include "structure/secondary_structure.hpp"

namespace redivi::mmcif::detail {
namespace {

// The items of one loop row; a missing column and an empty cell read as absent.
template <std::size_t N>
struct LoopFields {
  const std::array<Column, N>& columns;
  Row row;
  std::optional<std::string_view> operator()(std::size_t field) const { return row_str(row, columns[field]); }
};

// The single items of a block, as written (quotes kept, "?" and "." not replaced).
template <std::size_t N>
struct SingleFields {
  const DataBlock& block;
  const std::array<std::string_view, N>& tags;
  std::optional<std::string_view> operator()(std::size_t field) const { return get_single_data(block, tags[field]); }
};

// Calls read(fields, single_item) for each row of the category's loop or, without a loop, once for its
// single items.
template <std::size_t N, class Read>
void read_category(const DataBlock& block, std::string_view category, const std::array<std::string_view, N>& tags,
                   Read read) {
  if (const Loop* loop = get_loop_data(block, category)) {
    const auto columns = find_columns(loop->tags, tags);
    for (std::size_t i = 0; i < loop->row_count(); ++i) read(LoopFields<N>{columns, loop->row(i)}, false);
  } else {
    read(SingleFields<N>{block, tags}, true);
  }
}

std::string_view text_or_empty(std::optional<std::string_view> value) { return value.value_or(""); }

// An identifier is missing when absent, empty or a null written "?" or ".".
std::string_view identifier(std::optional<std::string_view> value) {
  return value && *value != "?" && *value != "." ? *value : std::string_view{};
}

std::int32_t seq_id(std::optional<std::string_view> value) { return value ? parse_i32(*value).value_or(0) : 0; }

std::string_view ins_code(std::optional<std::string_view> value) {
  return redivi::detail::stored_insertion_code(value.value_or(std::string_view{}));
}

std::optional<std::uint32_t> optional_u32(std::optional<std::string_view> value) {
  return value ? parse_u32(*value) : std::nullopt;
}

namespace helix {
enum : std::size_t {
  conf_type_id,
  pdbx_helix_id,
  id,
  beg_comp_id,
  beg_chain_id,
  beg_seq_id,
  beg_ins_code,
  end_comp_id,
  end_chain_id,
  end_seq_id,
  end_ins_code,
  helix_class,
  helix_length,
  count
};
constexpr std::array<std::string_view, count> tags = {
    "_struct_conf.conf_type_id",          "_struct_conf.pdbx_PDB_helix_id",     "_struct_conf.id",
    "_struct_conf.beg_label_comp_id",     "_struct_conf.beg_auth_asym_id",      "_struct_conf.beg_auth_seq_id",
    "_struct_conf.pdbx_beg_PDB_ins_code", "_struct_conf.end_label_comp_id",     "_struct_conf.end_auth_asym_id",
    "_struct_conf.end_auth_seq_id",       "_struct_conf.pdbx_end_PDB_ins_code", "_struct_conf.pdbx_PDB_helix_class",
    "_struct_conf.pdbx_PDB_helix_length"};

template <class Fields>
MmcifHelixRecord read(const Fields& get) {
  const auto pdbx_id = get(pdbx_helix_id);
  return MmcifHelixRecord{pdbx_id && !pdbx_id->empty() ? *pdbx_id : text_or_empty(get(id)),
                          text_or_empty(get(beg_comp_id)),
                          identifier(get(beg_chain_id)),
                          seq_id(get(beg_seq_id)),
                          ins_code(get(beg_ins_code)),
                          text_or_empty(get(end_comp_id)),
                          text_or_empty(get(end_chain_id)),
                          seq_id(get(end_seq_id)),
                          ins_code(get(end_ins_code)),
                          get(helix_class) ? parse_i32(*get(helix_class)) : std::nullopt,
                          optional_u32(get(helix_length))};
}
}  // namespace helix

namespace sheet_range {
enum : std::size_t {
  sheet_id,
  id,
  beg_comp_id,
  beg_chain_id,
  beg_seq_id,
  beg_ins_code,
  end_comp_id,
  end_chain_id,
  end_seq_id,
  end_ins_code,
  count
};
constexpr std::array<std::string_view, count> tags = {
    "_struct_sheet_range.sheet_id",          "_struct_sheet_range.id",
    "_struct_sheet_range.beg_label_comp_id", "_struct_sheet_range.beg_auth_asym_id",
    "_struct_sheet_range.beg_auth_seq_id",   "_struct_sheet_range.pdbx_beg_PDB_ins_code",
    "_struct_sheet_range.end_label_comp_id", "_struct_sheet_range.end_auth_asym_id",
    "_struct_sheet_range.end_auth_seq_id",   "_struct_sheet_range.pdbx_end_PDB_ins_code"};

template <class Fields>
MmcifSheetRangeRecord read(const Fields& get) {
  return MmcifSheetRangeRecord{identifier(get(sheet_id)),       identifier(get(id)),
                               text_or_empty(get(beg_comp_id)), identifier(get(beg_chain_id)),
                               seq_id(get(beg_seq_id)),         ins_code(get(beg_ins_code)),
                               text_or_empty(get(end_comp_id)), text_or_empty(get(end_chain_id)),
                               seq_id(get(end_seq_id)),         ins_code(get(end_ins_code))};
}
}  // namespace sheet_range

void read_helices(const DataBlock& block, SecondaryStructureRecords& records) {
  read_category(block, "_struct_conf", helix::tags, [&records](const auto& get, bool single_item) {
    if (!text_or_empty(get(helix::conf_type_id)).starts_with("HELX")) return;
    const MmcifHelixRecord record = helix::read(get);
    // A lone helix written as single items needs an identifier and a start chain.
    if (single_item && (record.helix_id.empty() || record.beg_chain_id.empty())) return;
    records.helices.push_back(record);
  });
}

void read_strand_counts(const DataBlock& block, SecondaryStructureRecords& records) {
  constexpr std::array<std::string_view, 2> tags = {"_struct_sheet.id", "_struct_sheet.number_strands"};
  read_category(block, "_struct_sheet", tags, [&records](const auto& get, bool) {
    const std::string_view sheet_id = identifier(get(0));
    const auto count = optional_u32(get(1));
    if (!sheet_id.empty() && count) records.sheet_strand_counts.insert_or_assign(sheet_id, *count);
  });
}

void read_strand_senses(const DataBlock& block, SecondaryStructureRecords& records) {
  constexpr std::array<std::string_view, 3> tags = {"_struct_sheet_order.sheet_id", "_struct_sheet_order.range_id_2",
                                                    "_struct_sheet_order.sense"};
  read_category(block, "_struct_sheet_order", tags, [&records](const auto& get, bool) {
    const std::string_view sheet_id = identifier(get(0));
    const std::string_view strand_id = identifier(get(1));
    if (sheet_id.empty() || strand_id.empty()) return;
    if (const auto sense = parse_sheet_sense(text_or_empty(get(2)))) {
      records.strand_senses.insert_or_assign({sheet_id, strand_id}, *sense);
    }
  });
}

void read_sheet_ranges(const DataBlock& block, SecondaryStructureRecords& records) {
  read_category(block, "_struct_sheet_range", sheet_range::tags, [&records](const auto& get, bool) {
    const MmcifSheetRangeRecord record = sheet_range::read(get);
    if (!record.sheet_id.empty() && !record.strand_id.empty() && !record.beg_chain_id.empty()) {
      records.sheet_ranges.push_back(record);
    }
  });
}

template <class Record>
std::optional<structure::detail::ResidueSpan> resolve(const Record& record,
                                                      const structure::detail::StructureIndex& index) {
  return structure::detail::resolve_span(
      index, {record.beg_chain_id, record.beg_seq_id, record.beg_ins_code, record.beg_comp_id},
      {record.end_chain_id, record.end_seq_id, record.end_ins_code, record.end_comp_id});
}

std::optional<StrandSense> strand_sense(const SecondaryStructureRecords& records, const MmcifSheetRangeRecord& strand) {
  const auto found = records.strand_senses.find({strand.sheet_id, strand.strand_id});
  if (found != records.strand_senses.end()) return found->second;
  if (parse_u32(strand.strand_id) == 1u) return StrandSense::First;
  return std::nullopt;
}

std::optional<std::uint32_t> strand_count(const SecondaryStructureRecords& records, std::string_view sheet_id) {
  const auto found = records.sheet_strand_counts.find(sheet_id);
  return found == records.sheet_strand_counts.end() ? std::nullopt : std::optional{found->second};
}

}  // namespace

SecondaryStructureRecords parse_secondary_structure(const DataBlock& block) {
  SecondaryStructureRecords records;
  read_helices(block, records);
  read_strand_counts(block, records);
  read_strand_senses(block, records);
  read_sheet_ranges(block, records);
  return records;
}

std::optional<StrandSense> parse_sheet_sense(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (lowered == "first") return StrandSense::First;
  if (lowered == "parallel") return StrandSense::Parallel;
  if (lowered == "anti-parallel" || lowered == "antiparallel") return StrandSense::AntiParallel;
  return std::nullopt;
}

// Unlike PDB, a strand's sense and count come from their own categories, its ordinal from its
// identifier, and a helix length of 0 stays 0.
void resolve_secondary_structure(const SecondaryStructureRecords& records,
                                 const structure::detail::StructureIndex& index, Chains& chains) {
  AlphaHelices helices;
  for (const MmcifHelixRecord& record : records.helices) {
    if (const auto span = resolve(record, index)) {
      helices.push(std::string(record.helix_id), span->chain, span->start, span->end,
                   structure::detail::helix_class(record.helix_class.value_or(0)), record.helix_length);
    }
  }
  if (!helices.helix_ids.empty()) chains.alpha_helices = std::move(helices);
  BetaSheets sheets;
  for (const MmcifSheetRangeRecord& record : records.sheet_ranges) {
    if (const auto span = resolve(record, index)) {
      sheets.push(std::string(record.sheet_id), std::string(record.strand_id), parse_u32(record.strand_id),
                  strand_count(records, record.sheet_id), span->chain, span->start, span->end,
                  strand_sense(records, record));
    }
  }
  if (!sheets.sheet_ids.empty()) chains.beta_sheets = std::move(sheets);
}

}  // namespace redivi::mmcif::detail
