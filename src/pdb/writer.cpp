// Writes one structure as PDB text: SEQRES, HELIX, SHEET, ATOM/HETATM and CONECT records.
#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "model/insertion_code.hpp"
#include "pdb/record_text.hpp"
#include "redivi/amino_acid.hpp"
#include "redivi/convert/pdb.hpp"
#include "text/text.hpp"

namespace redivi::pdb {
namespace {

constexpr std::size_t line_bytes = 81;  // 80 columns and a line feed
constexpr std::size_t seqres_names_per_line = 13;
constexpr std::size_t conect_bytes = 17;  // CONECT with two serials and a line feed

template <class... Pieces>
std::unexpected<WriteError> fail(const Pieces&... pieces) {
  return std::unexpected(WriteError{text::concat(pieces...)});
}

// The letter of chain i: the character whose code is ('A' + i) modulo 256, in UTF-8.
std::string chain_letter(std::uint32_t chain) {
  const auto code = static_cast<unsigned char>('A' + chain % 256);
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
}

// Chain i in SEQRES, HELIX and SHEET records: its first label when it has one, else its letter.
std::string chain_identifier(const Chains& chains, std::uint32_t chain) {
  if (chains.labels && chain < chains.labels->size() && !(*chains.labels)[chain].empty()) {
    return (*chains.labels)[chain].front();
  }
  return chain_letter(chain);
}

struct Column {
  std::string_view name;
  std::size_t length;
};

// Every column must have an entry for each of the `count` entries of the table's first column.
std::expected<void, WriteError> check_columns(std::string_view table, Column first,
                                              std::initializer_list<Column> rest) {
  for (const Column& column : rest) {
    if (column.length < first.length) {
      return fail(table, '.', column.name, " has ", column.length, " entries, fewer than the ", first.length, " of ",
                  first.name);
    }
  }
  return {};
}

std::expected<void, WriteError> check_tables(const TRC& trc) {
  const Residues& residues = trc.residues;
  auto checked = check_columns("residues", {"residues", residues.residues.size()},
                               {{"seqs", residues.seqs.size()},
                                {"seq_ns", residues.seq_ns.size()},
                                {"insertion_codes", residues.insertion_codes.size()}});
  if (!checked) return checked;
  if (const auto& helices = trc.chains.alpha_helices) {
    checked = check_columns("alpha_helices", {"helix_ids", helices->helix_ids.size()},
                            {{"chain_refs", helices->chain_refs.size()},
                             {"start_residues", helices->start_residues.size()},
                             {"end_residues", helices->end_residues.size()},
                             {"classes", helices->classes.size()},
                             {"lengths", helices->lengths.size()}});
    if (!checked) return checked;
  }
  if (const auto& sheets = trc.chains.beta_sheets) {
    return check_columns("beta_sheets", {"sheet_ids", sheets->sheet_ids.size()},
                         {{"strand_ids", sheets->strand_ids.size()},
                          {"strand_ordinals", sheets->strand_ordinals.size()},
                          {"num_strands", sheets->num_strands.size()},
                          {"chain_refs", sheets->chain_refs.size()},
                          {"start_residues", sheets->start_residues.size()},
                          {"end_residues", sheets->end_residues.size()},
                          {"senses", sheets->senses.size()}});
  }
  return {};
}

// A text on a PDB line cannot hold a line feed: what follows it would read as another record.
std::expected<void, WriteError> check_one_line(std::string_view column, const std::vector<std::string>& texts) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].find('\n') != std::string::npos) return fail(column, '[', i, "] holds a line feed");
  }
  return {};
}

// The texts of residues, chain labels, helices and sheets; atom names are checked as their lines are written.
std::expected<void, WriteError> check_texts(const TRC& trc) {
  auto checked = check_one_line("residues.seqs", trc.residues.seqs);
  if (checked) checked = check_one_line("residues.insertion_codes", trc.residues.insertion_codes);
  if (checked && trc.chains.labels) {
    const std::vector<std::vector<std::string>>& labels = *trc.chains.labels;
    for (std::size_t c = 0; c < labels.size(); ++c) {
      if (!labels[c].empty() && labels[c].front().find('\n') != std::string::npos) {
        return fail("chains.labels[", c, "][0] holds a line feed");
      }
    }
  }
  if (checked && trc.chains.alpha_helices) {
    checked = check_one_line("alpha_helices.helix_ids", trc.chains.alpha_helices->helix_ids);
  }
  if (checked && trc.chains.beta_sheets) {
    checked = check_one_line("beta_sheets.sheet_ids", trc.chains.beta_sheets->sheet_ids);
  }
  return checked;
}

// The chain of each residue: a later chain listing a residue again wins; a residue in no chain is in chain 0.
std::expected<std::vector<std::uint32_t>, WriteError> residue_chains(const TRC& trc) {
  const std::size_t residue_count = trc.residues.residues.size();
  std::vector<std::uint32_t> chain_of(residue_count, 0);
  const std::vector<Chain>& chains = trc.chains.chains;
  for (std::uint32_t c = 0; c < chains.size(); ++c) {
    for (const ResidueRef r : chains[c]) {
      if (r >= residue_count) {
        return fail("chain ", c, " lists ResidueRef(", r, ") beyond the ", residue_count, " residues");
      }
      chain_of[r] = c;
    }
  }
  return chain_of;
}

void write_seqres(std::string& out, const TRC& trc) {
  const std::vector<std::string>& seqs = trc.residues.seqs;
  Seqres record;
  for (std::uint32_t c = 0; c < trc.chains.chains.size(); ++c) {
    const Chain& chain = trc.chains.chains[c];
    const auto amino_acids = static_cast<std::uint32_t>(
        std::ranges::count_if(chain, [&seqs](ResidueRef r) { return AminoAcidSeq::is_amino_acid(seqs[r]); }));
    if (amino_acids == 0) continue;
    record.serial = 0;
    record.chain_id = chain_identifier(trc.chains, c);
    record.num_res = amino_acids;
    record.res_names.clear();
    for (const ResidueRef r : chain) {
      if (!AminoAcidSeq::is_amino_acid(seqs[r])) continue;
      record.res_names.push_back(seqs[r]);
      if (record.res_names.size() < seqres_names_per_line) continue;
      ++record.serial;
      detail::append_seqres(out, record);
      out.push_back('\n');
      record.res_names.clear();
    }
    if (record.res_names.empty()) continue;
    ++record.serial;
    detail::append_seqres(out, record);
    out.push_back('\n');
  }
}

// The name, sequence number and insertion code of residue r, each blank when r is beyond its list.
struct ResidueFields {
  std::string name;
  std::int32_t seq_num = 0;
  std::string i_code;
};

ResidueFields residue_fields(const Residues& residues, std::uint32_t r) {
  ResidueFields fields;
  if (r < residues.seqs.size()) fields.name = residues.seqs[r];
  if (r < residues.seq_ns.size()) fields.seq_num = residues.seq_ns[r];
  if (r < residues.insertion_codes.size()) fields.i_code = residues.insertion_codes[r];
  return fields;
}

// Fills the start and end residue fields and both chain identifiers of a HELIX or SHEET record.
template <class Record>
void set_span(Record& record, const TRC& trc, std::uint32_t chain, std::uint32_t start, std::uint32_t end) {
  ResidueFields first = residue_fields(trc.residues, start);
  ResidueFields last = residue_fields(trc.residues, end);
  record.init_chain_id = chain_identifier(trc.chains, chain);
  record.init_res_name = std::move(first.name);
  record.init_seq_num = first.seq_num;
  record.init_i_code = std::move(first.i_code);
  record.end_chain_id = record.init_chain_id;
  record.end_res_name = std::move(last.name);
  record.end_seq_num = last.seq_num;
  record.end_i_code = std::move(last.i_code);
}

std::expected<void, WriteError> write_helices(std::string& out, const TRC& trc) {
  if (!trc.chains.alpha_helices) return {};
  const AlphaHelices& helices = *trc.chains.alpha_helices;
  Helix record;
  for (std::size_t k = 0; k < helices.helix_ids.size(); ++k) {
    record.serial = static_cast<std::int32_t>(k + 1);
    record.helix_id = helices.helix_ids[k];
    set_span(record, trc, helices.chain_refs[k], helices.start_residues[k], helices.end_residues[k]);
    record.helix_class = helices.classes[k] ? static_cast<std::int32_t>(*helices.classes[k]) : 0;
    record.length = static_cast<std::int32_t>(helices.lengths[k].value_or(0));
    const auto written = detail::append_helix(out, record);
    if (!written) return written;
    out.push_back('\n');
  }
  return {};
}

// The strand's ordinal, else its identifier when that is a number, else its 1-based place in the list.
std::int32_t strand_number(const BetaSheets& sheets, std::size_t k) {
  if (sheets.strand_ordinals[k]) return static_cast<std::int32_t>(*sheets.strand_ordinals[k]);
  std::uint32_t number = 0;
  if (text::parse_number(sheets.strand_ids[k], number)) return static_cast<std::int32_t>(number);
  return static_cast<std::int32_t>(k + 1);
}

// SHEET senses: 0 for the first strand, 1 for parallel, -1 for antiparallel.
std::int32_t sense_number(std::optional<StrandSense> sense) {
  if (sense == StrandSense::AntiParallel) return -1;
  if (sense == StrandSense::Parallel) return 1;
  return 0;
}

std::expected<void, WriteError> write_sheets(std::string& out, const TRC& trc) {
  if (!trc.chains.beta_sheets) return {};
  const BetaSheets& sheets = *trc.chains.beta_sheets;
  Sheet record;
  // The registration columns stay blank.
  record.cur_i_code = std::string(redivi::detail::no_insertion_code);
  record.prev_i_code = std::string(redivi::detail::no_insertion_code);
  for (std::size_t k = 0; k < sheets.sheet_ids.size(); ++k) {
    record.strand = strand_number(sheets, k);
    record.sheet_id = sheets.sheet_ids[k];
    record.num_strands = static_cast<std::int32_t>(sheets.num_strands[k].value_or(0));
    set_span(record, trc, sheets.chain_refs[k], sheets.start_residues[k], sheets.end_residues[k]);
    record.sense = sense_number(sheets.senses[k]);
    const auto written = detail::append_sheet(out, record);
    if (!written) return written;
    out.push_back('\n');
  }
  return {};
}

// Every field of the record that belongs to residue r.
void set_residue(Atom& record, const Residues& residues, std::uint32_t r, std::string_view chain_letter) {
  record.res_name = residues.seqs[r];
  record.chain_id = chain_letter;
  record.res_seq = residues.seq_ns[r];
  const std::string& code = residues.insertion_codes[r];
  if (code.empty()) {
    record.i_code.reset();
  } else {
    record.i_code = code;
  }
  record.hetero = !AminoAcidSeq::is_amino_acid(residues.seqs[r]);
}

// Every field of the record that belongs to atom a.
void set_atom(Atom& record, const Topology& topology, AtomRef a) {
  record.serial = a;
  if (topology.labels && a < topology.labels->size()) {
    record.name = (*topology.labels)[a];
  } else {
    record.name = topology.symbols[a].symbol();
  }
  record.x = topology.geometry[3 * std::size_t{a}];
  record.y = topology.geometry[3 * std::size_t{a} + 1];
  record.z = topology.geometry[3 * std::size_t{a} + 2];
  record.element = topology.symbols[a];
  const auto& charges = topology.formal_charges;
  record.charge = charges && a < charges->size() ? (*charges)[a] : 0;
}

std::expected<void, WriteError> write_atoms(std::string& out, const TRC& trc,
                                            const std::vector<std::uint32_t>& chain_of) {
  const Topology& topology = trc.topology;
  const std::size_t atom_count = std::min(topology.symbols.size(), topology.geometry.size() / 3);
  std::vector<std::string> letters(std::max<std::size_t>(trc.chains.chains.size(), 1));
  for (std::uint32_t c = 0; c < letters.size(); ++c) letters[c] = chain_letter(c);
  Atom record;
  record.occupancy = 1.0F;
  record.temp_factor = 0.0F;
  for (std::uint32_t r = 0; r < trc.residues.residues.size(); ++r) {
    set_residue(record, trc.residues, r, letters[chain_of[r]]);
    for (const AtomRef a : trc.residues.residues[r]) {
      if (a >= atom_count) {
        return fail("ResidueRef(", r, ") lists AtomRef(", a, "), beyond the ", atom_count,
                    " atoms that have a symbol and three coordinates");
      }
      set_atom(record, topology, a);
      const auto written = detail::append_atom(out, record);
      if (!written) return written;
      out.push_back('\n');
    }
  }
  return {};
}

// Whether each atom lies in some residue whose name is an amino-acid name.
std::vector<bool> amino_acid_atoms(const TRC& trc) {
  std::vector<bool> marked(trc.topology.symbols.size(), false);
  const Residues& residues = trc.residues;
  for (std::size_t r = 0; r < residues.residues.size(); ++r) {
    if (!AminoAcidSeq::is_amino_acid(residues.seqs[r])) continue;
    for (const AtomRef a : residues.residues[r]) {
      if (a < marked.size()) marked[a] = true;
    }
  }
  return marked;
}

// One record per bond unit for Single to Sextuple; one for every other order.
std::size_t conect_repeats(BondOrder order) {
  const auto units = static_cast<std::uint8_t>(order);
  return units >= 1 && units <= 6 ? units : 1;
}

// Bonds between two atoms of amino-acid residues are left to the reader's templates.
void write_conects(std::string& out, const TRC& trc) {
  if (!trc.topology.connectivity || trc.topology.connectivity->empty()) return;
  const std::vector<bool> in_amino_acid = amino_acid_atoms(trc);
  const auto listed = [&in_amino_acid](AtomRef a) { return a < in_amino_acid.size() && in_amino_acid[a]; };
  std::string line;
  for (const Bond& bond : *trc.topology.connectivity) {
    if (listed(bond.first) && listed(bond.second)) continue;
    line.clear();
    const std::array<std::uint32_t, 2> serials{bond.first, bond.second};
    detail::append_conect(line, serials);
    line.push_back('\n');
    for (std::size_t i = conect_repeats(bond.order); i > 0; --i) out.append(line);
  }
}

// The columns that serials past 99,999 add to the atom lines: one for each power of ten from 100,000 up
// that an atom's serial (its index) reaches.
std::size_t widened_serial_bytes(std::size_t atoms) {
  std::size_t extra = 0;
  for (std::size_t power = 100'000; power < atoms; power *= 10) extra += atoms - power;
  return extra;
}

std::size_t estimated_size(const TRC& trc) {
  const Chains& chains = trc.chains;
  const std::size_t lines = trc.topology.symbols.size() + trc.residues.residues.size() / seqres_names_per_line +
                            chains.chains.size() + (chains.alpha_helices ? chains.alpha_helices->helix_ids.size() : 0) +
                            (chains.beta_sheets ? chains.beta_sheets->sheet_ids.size() : 0);
  const std::size_t bonds = trc.topology.connectivity ? trc.topology.connectivity->size() : 0;
  // The slack lets the last lines reserve room for their widest form without moving the text.
  return lines * line_bytes + widened_serial_bytes(trc.topology.symbols.size()) + bonds * conect_bytes + 1024;
}

}  // namespace

std::expected<std::string, WriteError> to_pdb(const TRC& trc) {
  auto checked = check_tables(trc);
  if (checked) checked = check_texts(trc);
  if (!checked) return std::unexpected(checked.error());
  const auto chain_of = residue_chains(trc);
  if (!chain_of) return std::unexpected(chain_of.error());
  std::string out;
  out.reserve(estimated_size(trc));
  write_seqres(out, trc);
  auto written = write_helices(out, trc);
  if (written) written = write_sheets(out, trc);
  if (written) written = write_atoms(out, trc, *chain_of);
  if (!written) return std::unexpected(written.error());
  write_conects(out, trc);
  return out;
}

}  // namespace redivi::pdb
