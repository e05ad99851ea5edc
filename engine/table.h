// Fixed-capacity tables numbered from 1, with a separate count, as the search keeps its
// segments and found parts. Every access is bounds-checked.
#ifndef ENGINE_TABLE_H
#define ENGINE_TABLE_H

#include "engine/door_check.h"

#include <array>
#include <stdexcept>
#include <string>

namespace twinfind {

template <typename T, int Capacity>
class Table {
 public:
  static constexpr int kCapacity = Capacity;

  int count() const { return count_; }
  bool full() const { return count_ == Capacity; }
  void Clear() { count_ = 0; }

  // Appends an entry as number count() + 1; false (nothing stored) when the table is full.
  bool Append(const T& entry) {
    if (count_ == Capacity) return false;
    slots_[++count_] = entry;
    return true;
  }

  // Entry 1..count().
  T& operator[](int index) { return slots_[Checked(index, count_)]; }
  const T& operator[](int index) const { return slots_[Checked(index, count_)]; }

  // Any slot 1..Capacity, also beyond the count (for resetting fields of every slot).
  T& slot(int index) { return slots_[Checked(index, Capacity)]; }

  // Keeps the entries 1..count (count not above the current count).
  void Truncate(int count) { count_ = Checked(count, count_, 0); }

 private:
  // Inside the search's innermost loops: the check inline, the message out of the way.
  static int Checked(int index, int last, int first = 1) {
    if (index < first || index > last) [[unlikely]] {
      OutOfRange(index, first, last);
    }
    return index;
  }
  [[noreturn]] __attribute__((noinline)) static void OutOfRange(int index, int first, int last) {
    throw std::out_of_range("table index " + std::to_string(index) + " outside " +
                            std::to_string(first) + ".." + std::to_string(last));
  }

  std::array<T, Capacity + 1> slots_{};  // slot 0 is never used
  int count_ = 0;
};

}  // namespace twinfind

#endif  // ENGINE_TABLE_H
