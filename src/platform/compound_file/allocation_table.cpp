#include "platform/compound_file/allocation_table.h"

#include <cassert>

namespace txtppt2 {

std::vector<uint32_t> AllocationTable::Chain(uint32_t first, uint64_t maxLength,
                                             uint32_t unitCount) const {
  assert(unitCount <= uint64_t{kMaxRegularSector} + 1);
  std::vector<uint32_t> chain;
  if (maxLength == 0 || first >= unitCount) return chain;
  // One bit per unit finds a loop at its first repeat, whatever its shape.
  std::vector<bool> seen(unitCount);
  uint32_t sector = first;
  while (chain.size() < maxLength && sector < unitCount && !seen[sector]) {
    seen[sector] = true;
    chain.push_back(sector);
    sector = Next(sector);
  }
  return chain;
}

}  // namespace txtppt2
