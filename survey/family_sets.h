// Families joined into groups a pair at a time (a union-find): the near and the alike families.
#ifndef SURVEY_FAMILY_SETS_H
#define SURVEY_FAMILY_SETS_H

#include <algorithm>
#include <numeric>
#include <vector>

namespace twinfind::survey {

class FamilySets {
 public:
  explicit FamilySets(int families) : parent_(static_cast<size_t>(families)) {
    std::iota(parent_.begin(), parent_.end(), 0);
  }

  // The family that stands for f's group.
  int Find(int f) {
    int& p = parent_[static_cast<size_t>(f)];
    return p == f ? f : p = Find(p);
  }

  // Joins the groups of a and b; the family that stands for the joined group.
  int Join(int a, int b) {
    const int ra = Find(a);
    parent_[static_cast<size_t>(Find(b))] = ra;
    return ra;
  }

  // The groups of two or more families, each in family order, in the order of their first.
  std::vector<std::vector<int>> Groups() {
    std::vector<std::vector<int>> byRoot(parent_.size());
    for (int f = 0; f < static_cast<int>(parent_.size()); ++f) {
      byRoot[static_cast<size_t>(Find(f))].push_back(f);
    }
    std::vector<std::vector<int>> groups;
    for (std::vector<int>& group : byRoot) {
      if (group.size() >= 2) groups.push_back(std::move(group));
    }
    std::sort(groups.begin(), groups.end());
    return groups;
  }

 private:
  std::vector<int> parent_;
};

}  // namespace twinfind::survey

#endif  // SURVEY_FAMILY_SETS_H
