// Which segments touch end to end: the ends of their lines and arcs lie within a joint of each
// other. Found in n log n however the ends crowd: a line drawn twenty thousand times on top of
// itself puts forty thousand ends in one place, which a look at every end near each end would
// compare pair by pair.
#ifndef SURVEY_TOUCHING_ENDS_H
#define SURVEY_TOUCHING_ENDS_H

#include <cstddef>
#include <numeric>
#include <vector>

#include "vexlib/vexlib.h"

namespace twinfind::survey {

// Groups of indexes joined by union and find.
class Joins {
 public:
  explicit Joins(size_t n) : up_(n) { std::iota(up_.begin(), up_.end(), size_t{0}); }
  size_t Find(size_t i) {
    while (up_[i] != i) i = up_[i] = up_[up_[i]];
    return i;
  }
  void Join(size_t a, size_t b) {
    a = Find(a);
    b = Find(b);
    if (a != b) up_[a < b ? b : a] = a < b ? a : b;
  }

 private:
  std::vector<size_t> up_;
};

struct End {
  double x, y;
  size_t segment;
};

// Adds the ends of a line or an arc (where a figure can meet the next one), as ends of
// `segment`; other figures have none.
void AddEnds(const FigureRecord& f, size_t segment, std::vector<End>& ends);

// Joins the segments of every two ends that lie within `joint` of each other (exactly on each
// other when `joint` is 0).
void JoinTouching(const std::vector<End>& ends, double joint, Joins& joins);

}  // namespace twinfind::survey

#endif  // SURVEY_TOUCHING_ENDS_H
