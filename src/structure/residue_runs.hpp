// Atoms filed into runs of one residue key while a reader reads them, and the residues the runs make.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "redivi/residue.hpp"
#include "structure/residue_key.hpp"

namespace redivi::structure::detail {

// Consecutive atoms filed under one key: atoms first_atom .. first_atom + atom_count - 1.
struct ResidueRun {
  ResidueKey key;
  std::string_view i_code;  // as stored in the structure: empty for none
  AtomRef first_atom = 0;
  std::uint32_t atom_count = 0;
};

// The atoms of one structure, filed by residue key. An atom is compared with the previous atom's key
// only (no lookup per atom); a residue whose atoms lie in several places of the file has several runs.
class ResidueRuns {
 public:
  // Atoms are filed in increasing order, so a run always ends at the atom before the next one filed.
  void file_atom(const ResidueKey& key, std::string_view i_code, AtomRef atom) {
    if (!runs_.empty() && runs_.back().key == key) {
      ++runs_.back().atom_count;
      runs_.back().i_code = i_code;
      return;
    }
    runs_.push_back(ResidueRun{key, i_code, atom, 1});
  }

  // Files the next atom under the last atom's key and insertion code, which the caller knows it has.
  void file_atom_in_last_run() { ++runs_.back().atom_count; }

  std::span<const ResidueRun> runs() const { return runs_; }

 private:
  std::vector<ResidueRun> runs_;
};

// Residues in key order, each key once: the residue table and the key of each entry.
struct SortedResidues {
  std::vector<ResidueKey> keys;
  Residues residues;

  void reserve(std::size_t count) {
    keys.reserve(count);
    residues.residues.reserve(count);
    residues.seqs.reserve(count);
    residues.seq_ns.reserve(count);
    residues.insertion_codes.reserve(count);
  }
  // i_code is the insertion code as stored in the structure: empty for none.
  void push_back(const ResidueKey& key, std::string_view i_code, Residue&& atoms) {
    keys.push_back(key);
    residues.residues.push_back(std::move(atoms));
    residues.seqs.emplace_back(key.res_name);
    residues.seq_ns.push_back(key.res_seq);
    residues.insertion_codes.emplace_back(i_code);
  }

  // For a merge in place: entries at the end, an entry moved further back, an entry set without atoms.
  void resize(std::size_t count) {
    reserve(count);  // exactly: resize alone would double the columns
    keys.resize(count);
    residues.residues.resize(count);
    residues.seqs.resize(count);
    residues.seq_ns.resize(count);
    residues.insertion_codes.resize(count);
  }
  void move(std::size_t from, std::size_t to) {
    keys[to] = keys[from];
    residues.residues[to] = std::move(residues.residues[from]);
    residues.seqs[to] = std::move(residues.seqs[from]);
    residues.seq_ns[to] = residues.seq_ns[from];
    residues.insertion_codes[to] = std::move(residues.insertion_codes[from]);
  }
  void set(std::size_t at, const ResidueKey& key, std::string_view i_code) {
    keys[at] = key;
    residues.residues[at].clear();
    residues.seqs[at] = key.res_name;
    residues.seq_ns[at] = key.res_seq;
    residues.insertion_codes[at] = i_code;
  }
};

// The runs joined by key: a residue holds the atoms of its runs in file order, and the insertion code
// of the last atom filed under its key.
SortedResidues residues_in_key_order(const ResidueRuns& runs);

// A residue without atoms, named by a sequence or a list of unobserved residues.
struct EmptyResidue {
  ResidueKey key;
  std::string_view i_code;  // as stored in the structure: empty for none
};

// Adds the residues whose key is not there yet, in key order; of equal keys in added the first counts.
void add_residues_without_atoms(SortedResidues& residues, std::vector<EmptyResidue> added);

}  // namespace redivi::structure::detail
