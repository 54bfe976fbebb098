// Makes large PDB, mmCIF, SDF and XYZ texts by replicating the records of real files.
#include "generate.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "test_data.hpp"
#include "text/text.hpp"

namespace redivi::bench {
namespace {

// Appends a number right-aligned in width columns (wider numbers are written whole).
void append_right(std::string& out, std::size_t value, std::size_t width) {
  std::string digits;
  text::append_number(digits, value);
  if (digits.size() < width) out.append(width - digits.size(), ' ');
  out += digits;
}

std::size_t copies_for(std::size_t per_copy, std::size_t wanted) { return (wanted + per_copy - 1) / per_copy; }

bool is_atom_record(std::string_view line) { return line.starts_with("ATOM  ") || line.starts_with("HETATM"); }

// The lines a copy is made of: the ATOM, HETATM and TER records of the first model.
std::vector<std::string_view> structure_records(std::string_view source) {
  std::vector<std::string_view> records;
  text::Lines lines(source);
  std::string_view line;
  while (lines.next(line)) {
    if (line.starts_with("ENDMDL")) break;
    if (is_atom_record(line) || line.starts_with("TER")) records.push_back(line);
  }
  return records;
}

// Writes copies of PDB records, renumbering serials, chains and residues as it goes.
class PdbCopier {
 public:
  void start_copy() { next_chain(); }

  // Starts a run of atoms under the given chain identifier, numbering its residues on from first_res_seq.
  void start_run(char chain, std::size_t first_res_seq) {
    chain_ = chain;
    res_seq_ = first_res_seq;
    previous_key_ = {};
  }

  std::size_t res_seq() const { return res_seq_; }

  static constexpr std::string_view chain_ids = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

  void atom(std::string_view line) {
    const std::string_view key = text::columns(line, 18, 27);  // residue name, chain, number, insertion code
    if (key != previous_key_) {
      if (res_seq_ == max_res_seq) next_chain();
      ++res_seq_;
      previous_key_ = key;
      res_name_ = text::columns(line, 18, 20);
    }
    out_ += line.substr(0, 6);
    append_right(out_, next_serial(), 5);
    append_padded(text::columns(line, 12, 21), 10);
    append_residue();
    out_ += ' ';  // the insertion code: residues are numbered afresh
    if (line.size() > 27) out_ += line.substr(27);
    out_ += '\n';
  }

  void ter() {
    out_ += "TER   ";
    append_right(out_, next_serial(), 5);
    out_ += "      ";
    append_padded(res_name_, 3);
    out_ += ' ';
    append_residue();
    out_ += '\n';
  }

  std::string finish() {
    out_ += "END\n";
    return std::move(out_);
  }

  void reserve(std::size_t bytes) { out_.reserve(bytes); }

 private:
  static constexpr std::size_t max_res_seq = 9999;
  static constexpr std::size_t serial_modulus = 100000;

  void next_chain() {
    chain_ = chain_ids[chain_slot_++ % chain_ids.size()];
    res_seq_ = 0;
    previous_key_ = {};
  }

  std::size_t next_serial() {
    serial_ = (serial_ + 1) % serial_modulus;
    return serial_;
  }

  void append_padded(std::string_view field, std::size_t width) {
    out_ += field;
    if (field.size() < width) out_.append(width - field.size(), ' ');
  }

  // Columns 22-26: chain identifier and residue sequence number.
  void append_residue() {
    out_ += chain_;
    append_right(out_, res_seq_, 4);
  }

  std::string out_;
  std::size_t serial_ = 0;
  std::size_t chain_slot_ = 0;
  char chain_ = 'A';
  std::size_t res_seq_ = 0;
  std::string_view previous_key_;
  std::string_view res_name_;
};

// The "_atom_site" loop of an mmCIF text: its tags and where its rows lie.
struct AtomSiteLoop {
  std::vector<std::string_view> tags;
  std::string_view head, rows, tail;  // the text before, of and after the rows
};

bool ends_loop_rows(std::string_view line) {
  const std::string_view t = text::trim(line);
  return t.empty() || t.starts_with('#') || t.starts_with('_') || t.starts_with("loop_") || t.starts_with("data_");
}

std::optional<AtomSiteLoop> find_atom_site_loop(std::string_view source) {
  text::Lines lines(source);
  std::string_view line;
  AtomSiteLoop loop;
  bool after_loop = false;
  std::optional<std::size_t> first_row;
  std::size_t end = source.size();
  while (lines.next(line)) {
    const std::string_view t = text::trim(line);
    const auto at = static_cast<std::size_t>(line.data() - source.data());
    if (first_row) {
      if (!ends_loop_rows(line)) continue;
      end = at;
      break;
    }
    if (after_loop && t.starts_with("_atom_site.")) {
      loop.tags.push_back(t);
    } else if (!loop.tags.empty()) {
      if (ends_loop_rows(line)) return std::nullopt;
      first_row = at;
    } else {
      after_loop = t == "loop_";
    }
  }
  if (!first_row) return std::nullopt;
  loop.head = source.substr(0, *first_row);
  loop.rows = source.substr(*first_row, end - *first_row);
  loop.tail = source.substr(end);
  return loop;
}

// The cells of a row written on one line: blank-separated, quoted cells kept with their quotes.
void split_cells(std::string_view line, std::vector<std::string_view>& cells) {
  cells.clear();
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && text::is_space(line[i])) ++i;
    if (i == line.size()) return;
    std::size_t end = i + 1;
    if (line[i] == '\'' || line[i] == '"') {
      while (end < line.size() && !(line[end] == line[i] && (end + 1 == line.size() || text::is_space(line[end + 1]))))
        ++end;
      end = std::min(end + 1, line.size());
    } else {
      while (end < line.size() && !text::is_space(line[end])) ++end;
    }
    cells.push_back(line.substr(i, end - i));
    i = end;
  }
}

std::size_t tag_index(const std::vector<std::string_view>& tags, std::string_view tag) {
  for (std::size_t i = 0; i < tags.size(); ++i) {
    if (tags[i] == tag) return i;
  }
  return tags.size();
}

// Copy k of a chain name: the name itself for the first copy, else the name followed by "_k".
void append_chain_copy(std::string& out, std::string_view name, std::size_t copy) {
  if (copy == 0) {
    out += name;
    return;
  }
  if (name.size() >= 2 && (name.front() == '\'' || name.front() == '"')) name = name.substr(1, name.size() - 2);
  out += name == "." || name == "?" ? "X" : name;
  out += '_';
  text::append_number(out, copy);
}

}  // namespace

std::optional<Generated> replicate_pdb(std::string_view source, std::size_t min_atoms) {
  const std::vector<std::string_view> records = structure_records(source);
  std::size_t atoms_per_copy = 0;
  for (std::string_view record : records) atoms_per_copy += is_atom_record(record) ? 1U : 0U;
  if (atoms_per_copy == 0) return std::nullopt;
  const std::size_t copies = copies_for(atoms_per_copy, min_atoms);
  PdbCopier copier;
  copier.reserve(copies * records.size() * 81 + 4);
  for (std::size_t copy = 0; copy < copies; ++copy) {
    copier.start_copy();
    for (std::string_view record : records) {
      if (is_atom_record(record)) {
        copier.atom(record);
      } else {
        copier.ter();
      }
    }
  }
  return Generated{copier.finish(), copies * atoms_per_copy};
}

std::optional<Generated> replicate_pdb_recurring_chains(std::string_view source, std::size_t copies,
                                                        std::size_t chain_count) {
  const std::vector<std::string_view> records = structure_records(source);
  std::size_t atoms_per_copy = 0;
  for (std::string_view record : records) atoms_per_copy += is_atom_record(record) ? 1U : 0U;
  if (atoms_per_copy == 0 || chain_count == 0 || chain_count > PdbCopier::chain_ids.size()) return std::nullopt;
  std::vector<std::size_t> last_res_seq(chain_count, 0);
  std::size_t run = 0;
  PdbCopier copier;
  copier.reserve(copies * records.size() * 81 + 4);
  for (std::size_t copy = 0; copy < copies; ++copy) {
    std::string_view source_chain;
    std::size_t slot = 0;
    for (std::string_view record : records) {
      if (!is_atom_record(record)) {
        copier.ter();
        continue;
      }
      if (const std::string_view chain = text::columns(record, 22, 22); run == 0 || chain != source_chain) {
        if (run > 0) last_res_seq[slot] = copier.res_seq();
        slot = run++ % chain_count;
        source_chain = chain;
        copier.start_run(PdbCopier::chain_ids[slot], last_res_seq[slot]);
      }
      copier.atom(record);
    }
    last_res_seq[slot] = copier.res_seq();
  }
  return Generated{copier.finish(), copies * atoms_per_copy};
}

std::optional<Generated> replicate_mmcif(std::string_view source, std::size_t min_atoms) {
  const std::optional<AtomSiteLoop> loop = find_atom_site_loop(source);
  if (!loop) return std::nullopt;
  std::vector<std::string_view> rows;
  std::vector<std::string_view> cells;
  text::Lines lines(loop->rows);
  std::string_view line;
  while (lines.next(line)) {
    split_cells(line, cells);
    if (cells.size() != loop->tags.size()) return std::nullopt;
    rows.push_back(line);
  }
  if (rows.empty()) return std::nullopt;
  const std::size_t id = tag_index(loop->tags, "_atom_site.id");
  const std::size_t label_asym = tag_index(loop->tags, "_atom_site.label_asym_id");
  const std::size_t auth_asym = tag_index(loop->tags, "_atom_site.auth_asym_id");
  const std::size_t copies = copies_for(rows.size(), min_atoms);
  Generated generated{{}, copies * rows.size()};
  std::string& out = generated.text;
  out.reserve(source.size() + copies * (loop->rows.size() + rows.size() * 8));
  out += loop->head;
  std::size_t serial = 0;
  for (std::size_t copy = 0; copy < copies; ++copy) {
    for (std::string_view row : rows) {
      split_cells(row, cells);
      for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += ' ';
        if (i == id) {
          text::append_number(out, ++serial);
        } else if (i == label_asym || i == auth_asym) {
          append_chain_copy(out, cells[i], copy);
        } else {
          out += cells[i];
        }
      }
      out += '\n';
    }
  }
  out += loop->tail;
  return generated;
}

std::optional<Generated> replicate_sdf(std::string_view source, std::size_t min_molecules) {
  std::size_t molecules = 0;
  text::Lines lines(source);
  std::string_view line;
  while (lines.next(line)) molecules += text::trim(line) == "$$$$" ? 1U : 0U;
  if (molecules == 0) return std::nullopt;
  const std::size_t copies = copies_for(molecules, min_molecules);
  const bool closed = source.ends_with('\n');
  Generated generated;
  generated.text.reserve(copies * (source.size() + 1));
  for (std::size_t copy = 0; copy < copies; ++copy) {
    generated.text += source;
    if (!closed) generated.text += '\n';
  }
  generated.count = copies * molecules;
  return generated;
}

std::optional<Generated> replicate_xyz(std::string_view source, std::size_t min_atoms) {
  std::vector<std::string_view> atom_lines;
  text::Lines lines(source);
  std::string_view line;
  std::size_t frames = 0;
  std::size_t count = 0;
  while (lines.next(line) && text::parse_number(text::trim(line), count) && lines.next(line)) {
    for (std::size_t i = 0; i < count && lines.next(line); ++i) atom_lines.push_back(line);
    ++frames;
  }
  if (atom_lines.empty()) return std::nullopt;
  const std::size_t copies = copies_for(atom_lines.size(), min_atoms);
  Generated generated{{}, copies * atom_lines.size()};
  std::string& out = generated.text;
  out.reserve(copies * source.size());
  text::append_number(out, generated.count);
  out += "\natom lines of ";
  text::append_number(out, frames);
  out += " frames, repeated\n";
  for (std::size_t copy = 0; copy < copies; ++copy) {
    for (std::string_view atom : atom_lines) {
      out += atom;
      out += '\n';
    }
  }
  return generated;
}

std::optional<Generated> large_pdb() {
  const auto source = test::read_corpus_file("pdb/1aon.pdb.gz");
  if (!source) return std::nullopt;
  return replicate_pdb(*source, large_atom_count);
}

std::optional<Generated> recurring_chain_pdb() {
  const auto source = test::read_corpus_file("pdb/1aon.pdb.gz");
  if (!source) return std::nullopt;
  return replicate_pdb_recurring_chains(*source, 18, 42);
}

std::optional<Generated> large_mmcif() {
  const auto source = test::read_corpus_file("cif/4zxb.cif");
  if (!source) return std::nullopt;
  return replicate_mmcif(*source, large_atom_count);
}

std::optional<Generated> large_sdf() {
  const auto source = test::read_corpus_file("sdf/mols.1000.sdf.gz");
  if (!source) return std::nullopt;
  return replicate_sdf(*source, large_molecule_count);
}

std::optional<Generated> small_molecule_sdf() {
  constexpr std::size_t copies = 100;
  constexpr std::size_t molecules_per_copy = 1025;
  const auto source = test::read_corpus_file("sdf/solubility.train.sdf");
  if (!source) return std::nullopt;
  return replicate_sdf(*source, copies * molecules_per_copy);
}

std::optional<Generated> large_xyz() {
  const auto source = test::read_corpus_file("xyz/ligs3d.xyz");
  if (!source) return std::nullopt;
  return replicate_xyz(*source, large_atom_count);
}

}  // namespace redivi::bench
