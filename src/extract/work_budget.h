// WorkBudget: the bound on the work of one walk over a stream image. Every
// record visited costs its header and every text written its length; a
// walk stops when the budget is spent, which bounds the time of any input,
// however its offsets overlap, by a multiple of its size.
#ifndef TXTPPT2_EXTRACT_WORK_BUDGET_H_
#define TXTPPT2_EXTRACT_WORK_BUDGET_H_

#include <cstdint>

namespace txtppt2 {

class WorkBudget {
 public:
  explicit WorkBudget(uint64_t imageSize)
      : left(kPerByte * imageSize + kFloor) {}

  // Takes cost from the budget; false (and nothing left) when it does not
  // cover it.
  bool Spend(uint64_t cost) {
    if (cost > left) {
      left = 0;
      return false;
    }
    left -= cost;
    return true;
  }

 private:
  static constexpr uint64_t kPerByte = 4;
  static constexpr uint64_t kFloor = 64 * 1024;

  uint64_t left;
};

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_WORK_BUDGET_H_
