// A chain's full sequence numbered against the residues a structure has for it.
#include "structure/sequence_alignment.hpp"
#include "text/text.hpp"

namespace redivi::structure::detail {

std::span<const ResidueKey> chain_residues(std::span<const ResidueKey> keys, std::string_view chain_id) {
  const auto first = std::lower_bound(
      keys.begin(), keys.end(), chain_id,
      [](const ResidueKey& key, std::string_view id) { return text::compare_short(key.chain_id, id) < 0; });
  auto last = first;
  while (last != keys.end() && text::equal_short(last->chain_id, chain_id)) ++last;
  return {first, last};
}

std::vector<SequenceGap> sequence_gaps(std::span<const ResidueKey> chain, std::int32_t begin, std::size_t length) {
  // Within one chain the keys are in order of sequence number.
  const auto below = [](const ResidueKey& key, std::int32_t res_seq) { return key.res_seq < res_seq; };
  std::vector<SequenceGap> gaps;
  for (std::size_t position = 0; position < length; ++position) {
    const std::int32_t res_seq = sequence_number(begin, position);
    const auto at = std::lower_bound(chain.begin(), chain.end(), res_seq, below);
    if (at == chain.end() || at->res_seq != res_seq) gaps.push_back(SequenceGap{position, res_seq});
  }
  return gaps;
}

}  // namespace redivi::structure::detail
