// Counts the calls made into the in-memory platform and cuts the power after
// a budget, so that tests can stop a multi-step write at every step.
#pragma once

namespace qel::mem {

// Thrown by a platform call once the budget is spent, before the call does anything.
struct PowerCut {};

class CallMeter {
 public:
  // Called first by every platform method.
  void Tick() {
    if (budget_ == 0) throw PowerCut{};
    if (budget_ > 0) --budget_;
    ++count_;
  }
  // n more calls succeed; the one after throws. -1 means no limit.
  void SetBudget(long n) { budget_ = n < 0 ? -1 : n; }
  long count() const { return count_; }

 private:
  long budget_ = -1;
  long count_ = 0;
};

}  // namespace qel::mem
