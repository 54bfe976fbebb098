// The residue table's joining and subsets, and the residue types known by name.
#include "redivi/residue.hpp"

#include <array>
#include <unordered_map>

#include "model/columns.hpp"
#include "model/labels.hpp"

namespace redivi {
namespace {

constexpr std::array<std::string_view, AminoAcidSeq::count> names = {
    "GLY", "ALA", "VAL", "LEU", "ILE", "PRO", "SER", "THR", "ASN", "GLN", "CYS", "CYD", "CYX", "MET", "PHE", "TYR", "TYD", "TRP", "ASP", "ASH", "GLU", "GLH", "HIS", "HIN", "HID", "HIE", "HIP", "LYS", "LYD", "LYN", "ARG", "HYP", "ACE", "BNC", "NME", "NMA", "NHH", "UNK"};

constexpr char to_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A name matches in upper case as listed, or entirely in lower case; nothing is trimmed.
constexpr std::optional<std::uint8_t> find_amino_acid(std::string_view name) {
  if (name.size() != 3) return std::nullopt;
  for (std::uint8_t number = 0; number < AminoAcidSeq::count; ++number) {
    const std::string_view upper = names[number];
    if (name == upper) return number;
    if (name[0] == to_lower(upper[0]) && name[1] == to_lower(upper[1]) && name[2] == to_lower(upper[2])) {
      return number;
    }
  }
  return std::nullopt;
}

// The entry at index, or an empty value where a column is too short (a table that fails the
// structure check), so that a subset never reads past the end of a column.
template <class T>
T entry_or_empty(const std::vector<T>& column, std::size_t index) {
  return index < column.size() ? column[index] : T{};
}

// The labels of the selected residues: entry k of refs gets the texts of the first entry of
// labeled naming its residue. Labeled entries without texts count as unlabeled.
void select_labels(const Residues& source, const std::vector<ResidueRef>& refs, Residues& subset) {
  if (!source.labeled || !source.labels) return;
  const auto& labeled = *source.labeled;
  const auto& labels = *source.labels;
  std::unordered_map<ResidueRef, std::size_t> first_position;
  first_position.reserve(labeled.size());
  for (std::size_t j = 0; j < labeled.size() && j < labels.size(); ++j) first_position.emplace(labeled[j], j);
  std::vector<ResidueRef> new_labeled;
  std::vector<std::vector<std::string>> new_labels;
  for (std::size_t k = 0; k < refs.size(); ++k) {
    const auto found = first_position.find(refs[k]);
    if (found == first_position.end()) continue;
    new_labeled.push_back(static_cast<ResidueRef>(k));
    new_labels.push_back(labels[found->second]);
  }
  if (new_labeled.empty()) return;
  subset.labeled = std::move(new_labeled);
  subset.labels = std::move(new_labels);
}

}  // namespace

std::expected<void, ResiduesError> Residues::extend(Residues&& other) {
  const AtomRef atom_offset = columns::total_size(residues);
  const auto residue_offset = static_cast<ResidueRef>(residues.size());
  for (Residue& residue : other.residues) columns::shift(residue, atom_offset);
  columns::append(residues, std::move(other.residues));
  columns::append(seqs, std::move(other.seqs));
  columns::append(seq_ns, std::move(other.seq_ns));
  columns::append(insertion_codes, std::move(other.insertion_codes));
  if (labels::merge(labeled, labels, std::move(other.labeled), std::move(other.labels), residue_offset) ==
      labels::Merge::labels_missing) {
    return std::unexpected(ResiduesError{ResiduesError::LabelsMissing{}});
  }
  return {};
}

// A reference past the end of residues (which callers are not to pass) gives an empty residue
// with an empty name, number 0 and no insertion code, so that the subset keeps one residue per
// reference and its positions still match the chains built from the same references.
Residues Residues::new_residues_from_subset(const std::vector<ResidueRef>& refs) const {
  Residues subset;
  subset.residues.reserve(refs.size());
  subset.seqs.reserve(refs.size());
  subset.seq_ns.reserve(refs.size());
  subset.insertion_codes.reserve(refs.size());
  AtomRef next_atom = 0;
  for (const ResidueRef ref : refs) {
    const std::size_t atom_count = ref < residues.size() ? residues[ref].size() : 0;
    Residue& residue = subset.residues.emplace_back(atom_count);
    for (AtomRef& atom : residue) atom = next_atom++;
    subset.seqs.push_back(entry_or_empty(seqs, ref));
    subset.seq_ns.push_back(entry_or_empty(seq_ns, ref));
    subset.insertion_codes.push_back(entry_or_empty(insertion_codes, ref));
  }
  select_labels(*this, refs, subset);
  return subset;
}

bool AminoAcidSeq::is_amino_acid(std::string_view name) noexcept { return find_amino_acid(name).has_value(); }

std::expected<AminoAcidSeq, error::Error> AminoAcidSeq::from_pdb_std_name(std::string_view name) {
  if (const auto number = find_amino_acid(name)) return AminoAcidSeq{*number};
  return std::unexpected(error::Error{error::Error::ParseAminoAcid{std::string(name)}});
}

std::string_view AminoAcidSeq::name() const noexcept { return names[number_]; }

}  // namespace redivi
