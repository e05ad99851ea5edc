// The drawing's segments and elements by id: a flat table, since ids are handed out in
// ascending order and never used again. Looking one up is an index, not a search; walking the
// table goes in ascending id order. Each entry lives in storage of its own, so references to it
// stay valid while others come and go.
#ifndef HOST_ID_TABLE_H
#define HOST_ID_TABLE_H

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace vexhost {

template <typename T>
class IdTable {
 public:
  // The entry of an id, made (default-constructed) when missing. Ids are positive.
  T& operator[](int id) {
    if (id <= 0) throw std::out_of_range("id table: ids are positive");
    const size_t at = static_cast<size_t>(id);
    if (at >= slots_.size()) slots_.resize(at + 1);
    if (!slots_[at]) {
      if (spare_.empty()) {
        slots_[at] = std::make_unique<T>();
      } else {
        slots_[at] = std::move(spare_.back());
        spare_.pop_back();
        *slots_[at] = T{};
      }
      ++count_;
    }
    return *slots_[at];
  }
  T* Find(int id) {
    return id > 0 && static_cast<size_t>(id) < slots_.size() ? slots_[static_cast<size_t>(id)].get()
                                                             : nullptr;
  }
  const T* Find(int id) const { return const_cast<IdTable*>(this)->Find(id); }
  T& at(int id) {
    T* entry = Find(id);
    if (entry == nullptr) throw std::out_of_range("id table: no entry for the id");
    return *entry;
  }
  const T& at(int id) const { return const_cast<IdTable*>(this)->at(id); }
  bool erase(int id) {
    T* entry = Find(id);
    if (entry == nullptr) return false;
    // The storage is kept for the next entry: copies that come and go (the search's trial
    // copies) reuse it instead of going back to the allocator each time.
    std::unique_ptr<T>& slot = slots_[static_cast<size_t>(id)];
    if (spare_.size() < kSpareLimit) {
      spare_.push_back(std::move(slot));
    } else {
      slot.reset();
    }
    --count_;
    return true;
  }
  size_t size() const { return count_; }

  // Walking the entries: each as {id, entry}, in ascending id order.
  template <typename Table, typename Entry>
  class Walker {
   public:
    Walker(Table& table, size_t at) : table_(table), at_(at) { Skip(); }
    std::pair<int, Entry&> operator*() const {
      return {static_cast<int>(at_), *table_.slots_[at_]};
    }
    Walker& operator++() {
      ++at_;
      Skip();
      return *this;
    }
    bool operator!=(const Walker& other) const { return at_ != other.at_; }

   private:
    void Skip() {
      while (at_ < table_.slots_.size() && !table_.slots_[at_]) ++at_;
    }
    Table& table_;
    size_t at_;
  };
  Walker<IdTable, T> begin() { return {*this, 0}; }
  Walker<IdTable, T> end() { return {*this, slots_.size()}; }
  Walker<const IdTable, const T> begin() const { return {*this, 0}; }
  Walker<const IdTable, const T> end() const { return {*this, slots_.size()}; }

 private:
  static constexpr size_t kSpareLimit = 4096;
  std::vector<std::unique_ptr<T>> slots_;
  std::vector<std::unique_ptr<T>> spare_;
  size_t count_ = 0;
};

}  // namespace vexhost

#endif  // HOST_ID_TABLE_H
