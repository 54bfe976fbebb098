// The PDB reader: lines to records, records to one structure per model, CONECT records to bonds.
#include <utility>

#include "model/insertion_code.hpp"
#include "pdb/reader.hpp"
#include "redivi/diagnostics.hpp"
#include "text/text.hpp"

namespace redivi::pdb {
namespace {

using detail::Kind;

void warn(std::string_view message) { diagnostics::emit(detail::target, diagnostics::Level::warn, message); }

// The state of the model being read.
struct ModelState {
  Topology topology;
  std::vector<std::string> names;
  std::vector<std::int32_t> charges;
  std::vector<std::uint32_t> serials;
  structure::detail::ResidueRuns residues;
  std::string_view filed_residue_columns;  // of the last atom filed
  std::vector<detail::SerialPair> conect;

  // The first model reserves for the whole input; a file of several models gives the room back.
  void release_spare_room() {
    if (topology.symbols.capacity() <= 2 * topology.symbols.size()) return;
    topology.symbols.shrink_to_fit();
    topology.geometry.shrink_to_fit();
    names.shrink_to_fit();
    charges.shrink_to_fit();
    serials.shrink_to_fit();
  }

  void reserve(std::size_t atoms) {
    topology.symbols.reserve(atoms);
    topology.geometry.reserve(3 * atoms);
    names.reserve(atoms);
    charges.reserve(atoms);
    serials.reserve(atoms);
  }
};

class Reader {
 public:
  Reader(std::string_view contents, bool include_seqres) : contents_{contents}, include_seqres_{include_seqres} {
    // Coordinate files are mostly atom lines of 80 columns and a line feed.
    model_.reserve(contents.size() / 81);
  }

  std::expected<std::vector<TRC>, Error> run() {
    text::Lines lines{contents_};
    std::string_view line;
    std::uint64_t line_number = 0;
    while (lines.next(line)) {
      if (auto read = read_line(line, ++line_number); !read) return std::unexpected(std::move(read.error()));
    }
    if (auto closed = close_model(true); !closed) return std::unexpected(std::move(closed.error()));
    if (auto bonded = add_file_bonds(); !bonded) return std::unexpected(std::move(bonded.error()));
    return std::move(result_);
  }

 private:
  std::expected<void, Error> read_line(std::string_view line, std::uint64_t n) {
    if (detail::is_atom_line(line)) return read_atom(line, n);
    auto kind = detail::record_kind(line, n);
    if (!kind) return std::unexpected(std::move(kind.error()));
    switch (*kind) {
      case Kind::Atom:
      case Kind::Hetatm: return read_atom(line, n);
      case Kind::Seqres: return read_seqres(line, n);
      case Kind::Dbref: return read_dbref(line, n);
      case Kind::Helix: return keep(Line::try_from_helix(line, n), helices_);
      case Kind::Sheet: return keep(Line::try_from_sheet(line, n), sheets_);
      case Kind::Conect: return read_conect(line, n);
      case Kind::Ter: return check(Line::try_from_ter(line, n));
      case Kind::Model: model_open_ = true; return {};
      case Kind::EndModel: return close_model(false);
      case Kind::Other:
      case Kind::End: return {};  // reading goes on after END
    }
    return {};
  }

  template <class Record>
  static std::expected<void, Error> keep(std::expected<Record, Error>&& record, std::vector<Record>& list) {
    if (!record) return std::unexpected(std::move(record.error()));
    list.push_back(std::move(*record));
    return {};
  }

  // TER records add nothing, but a line that cannot be cut into its fields is still an error.
  template <class Record>
  static std::expected<void, Error> check(const std::expected<Record, Error>& record) {
    if (!record) return std::unexpected(record.error());
    return {};
  }

  std::expected<void, Error> read_atom(std::string_view line, std::uint64_t n) {
    detail::AtomView& atom = atom_;  // filled anew for every line
    if (auto read = detail::read_atom(line, atom); !read) {
      return std::unexpected(detail::to_error(read.error(), line, n));
    }
    model_open_ = true;
    // Of alternate locations only the first, "A", is kept (a blank one too).
    if (!atom.alt_loc.empty() && !text::equal_short(atom.alt_loc, "A")) return {};
    Topology& topology = model_.topology;
    const auto index = static_cast<AtomRef>(topology.symbols.size());
    topology.symbols.push_back(atom.element);
    topology.geometry.insert(topology.geometry.end(), {atom.x, atom.y, atom.z});
    file_in_residue(atom, index);
    model_.serials.push_back(atom.serial);
    model_.names.emplace_back(atom.name);
    model_.charges.push_back(atom.charge);
    return {};
  }

  // Fast path: the record reader keeps the view of repeated residue columns, so an atom whose columns
  // are the very view of the last atom filed has its key, without comparing it.
  void file_in_residue(const detail::AtomView& atom, AtomRef index) {
    std::string_view& filed = model_.filed_residue_columns;
    if (filed.data() != nullptr && atom.residue_columns.data() == filed.data() &&
        atom.residue_columns.size() == filed.size()) {
      model_.residues.file_atom_in_last_run();
      return;
    }
    const structure::detail::ResidueKey key{atom.chain_id, atom.res_seq,
                                            redivi::detail::stored_insertion_code(atom.i_code), atom.res_name};
    model_.residues.file_atom(key, atom.i_code, index);
    filed = atom.residue_columns;
  }

  std::expected<void, Error> read_seqres(std::string_view line, std::uint64_t n) {
    auto record = detail::read_seqres(line, n);
    if (!record) return std::unexpected(std::move(record.error()));
    auto& names = seqres_.names[record->chain_id];
    names.insert(names.end(), std::make_move_iterator(record->res_names.begin()),
                 std::make_move_iterator(record->res_names.end()));
    return {};
  }

  // The first DBREF record of a chain counts.
  std::expected<void, Error> read_dbref(std::string_view line, std::uint64_t n) {
    auto record = detail::read_dbref(line, n);
    if (!record) return std::unexpected(std::move(record.error()));
    seqres_.seq_begins.try_emplace(std::move(record->chain_id), record->seq_begin);
    return {};
  }

  // Inside a model the pairs are the model's own; outside every model they apply to all models.
  // A record with one serial, or none, adds nothing.
  std::expected<void, Error> read_conect(std::string_view line, std::uint64_t n) {
    auto record = Line::try_from_conect(line, n);
    if (!record) return std::unexpected(std::move(record.error()));
    const std::vector<std::uint32_t>& serials = record->serials;
    auto& pairs = model_open_ ? model_.conect : file_conect_;
    for (std::size_t i = 1; i < serials.size(); ++i) pairs.push_back(detail::SerialPair{serials[0], serials[i]});
    return {};
  }

  std::expected<void, Error> close_model(bool at_end_of_input);
  std::expected<void, Error> finish_model();
  std::expected<void, Error> add_file_bonds();

  std::string_view contents_;
  bool include_seqres_;
  bool model_open_ = false;
  ModelState model_;
  detail::AtomView atom_;
  std::vector<TRC> result_;
  std::vector<std::vector<std::uint32_t>> serials_per_model_;
  std::vector<detail::SerialPair> file_conect_;
  std::vector<Helix> helices_;
  std::vector<Sheet> sheets_;
  detail::SeqresRecords seqres_;
};

std::expected<void, Error> Reader::close_model(bool at_end_of_input) {
  if (model_.serials.empty()) {
    if (at_end_of_input && model_open_) {
      warn("No ATOM lines found despite being in a model; PDB file may be malformed");
    }
    if (!model_.conect.empty())
      warn("CONECT lines found but no ATOM lines found for this model; PDB file may be malformed");
  } else if (auto finished = finish_model(); !finished) {
    return finished;
  }
  const std::size_t atoms = serials_per_model_.empty() ? 0 : serials_per_model_.back().size();
  model_ = ModelState{};
  model_.reserve(atoms);  // the next model is likely the same size
  model_open_ = false;
  return {};
}

std::expected<void, Error> Reader::finish_model() {
  model_.release_spare_room();
  auto residues = structure::detail::residues_in_key_order(model_.residues);
  if (!seqres_.names.empty()) detail::align_seqres(seqres_, include_seqres_, residues);
  auto tables = detail::build_residue_tables(std::move(residues), helices_, sheets_, model_.charges);
  if (!tables) return std::unexpected(std::move(tables.error()));
  Topology& topology = model_.topology;
  topology.labels = std::move(model_.names);
  topology.fragments = std::move(tables->fragments);
  topology.connectivity = detail::model_bonds(model_.conect, model_.serials);
  topology.fragment_formal_charges = std::move(tables->fragment_formal_charges);
  topology.formal_charges = std::move(model_.charges);
  result_.push_back(TRC{std::move(topology), std::move(tables->residues), std::move(tables->chains)});
  serials_per_model_.push_back(std::move(model_.serials));
  return {};
}

// CONECT records outside every model bond the atoms of every model.
std::expected<void, Error> Reader::add_file_bonds() {
  if (file_conect_.empty()) return {};
  for (std::size_t i = 0; i < result_.size(); ++i) {
    auto bonds = detail::file_bonds(file_conect_, serials_per_model_[i]);
    if (!bonds) return std::unexpected(std::move(bonds.error()));
    std::vector<Bond>& connectivity = *result_[i].topology.connectivity;
    connectivity.insert(connectivity.end(), bonds->begin(), bonds->end());
  }
  return {};
}

}  // namespace

std::expected<std::vector<TRC>, Error> from_pdb_with_options(std::string_view contents, bool include_seqres) {
  return Reader{contents, include_seqres}.run();
}

}  // namespace redivi::pdb
