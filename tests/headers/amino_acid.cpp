// redivi/amino_acid.hpp alone: every function it declares compiles and links.
#include "redivi/amino_acid.hpp"

namespace header_check {

// Never run: building it is the check.
void amino_acid_hpp() {
  const auto aa = redivi::AminoAcidSeq::from_pdb_std_name("ALA");
  if (!aa) to_string(aa.error());
  redivi::AminoAcidSeq::is_amino_acid("ALA");
  redivi::AminoAcidSeq::GLY.name();
  redivi::AminoAcidSeq::GLY.value();
  to_string(redivi::AminoAcidSeq::UNK);
}

}  // namespace header_check
