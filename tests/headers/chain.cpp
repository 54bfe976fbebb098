// redivi/chain.hpp alone: every function it declares compiles and links.
#include "redivi/chain.hpp"

namespace header_check {

// Never run: building it is the check.
void chain_hpp() {
  redivi::Chains chains;
  chains.extend(redivi::Chains{});
  chains.new_chains_from_residue_subset({});
  redivi::AlphaHelices{}.push("1", 0, 0, 1, redivi::HelixClass::RightHandedAlpha, 2);
  redivi::BetaSheets{}.push("A", "1", 1, 2, 0, 0, 1, redivi::StrandSense::First);
  to_string(redivi::ChainsError::LabelMismatch);
  debug_string(redivi::ChainsError::LabelMismatch);
}

}  // namespace header_check
