// A 64-bit hash of byte ranges taken eight bytes at a time, for fingerprints of segments and
// drawings that are compared within one process (never stored).
#ifndef HOST_WORD_HASH_H
#define HOST_WORD_HASH_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vexhost {

class WordHash {
 public:
  explicit WordHash(uint64_t seed = 0xcbf29ce484222325ull) : value_(seed) {}

  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
      uint64_t word;
      std::memcpy(&word, p + i, 8);
      Mix(word);
    }
    if (i < size) {
      // The last bytes, with their number, so that "ab" and "ab\0" differ.
      uint64_t word = 0;
      std::memcpy(&word, p + i, size - i);
      Mix(word ^ (static_cast<uint64_t>(size - i) << 56));
    }
  }
  template <typename T>
  void Value(const T& v) {
    Bytes(&v, sizeof v);
  }
  uint64_t value() const { return value_; }

 private:
  void Mix(uint64_t word) {
    value_ = (value_ ^ word) * 0x9e3779b97f4a7c15ull;
    value_ ^= value_ >> 29;
  }

  uint64_t value_;
};

}  // namespace vexhost

#endif  // HOST_WORD_HASH_H
