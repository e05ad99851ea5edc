// Points of four numbers in an R-tree, for the steps that compare families with each other: a
// family looks up only those whose numbers lie within its reach, not every other one, so that
// thousands of families cost n log n and the pairs that can agree, not n squared.
#ifndef SURVEY_POINT_INDEX_H
#define SURVEY_POINT_INDEX_H

#include <array>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <iterator>
#include <utility>
#include <vector>

namespace twinfind::survey {

class PointIndex {
 public:
  using Numbers = std::array<double, 4>;

  // The points, each with a number of its own (an index into the caller's table).
  explicit PointIndex(const std::vector<std::pair<Numbers, size_t>>& points) {
    std::vector<Value> values;
    values.reserve(points.size());
    for (const auto& [numbers, id] : points) values.push_back({PointOf(numbers), id});
    tree_ = Tree(values.begin(), values.end());  // packed: built in n log n
  }

  // The numbers of the points with every number within [low, high], in no set order.
  std::vector<size_t> Within(const Numbers& low, const Numbers& high) const {
    std::vector<Value> hits;
    tree_.query(boost::geometry::index::intersects(Box(PointOf(low), PointOf(high))),
                std::back_inserter(hits));
    std::vector<size_t> ids;
    ids.reserve(hits.size());
    for (const Value& v : hits) ids.push_back(v.second);
    return ids;
  }

 private:
  using Point = boost::geometry::model::point<double, 4, boost::geometry::cs::cartesian>;
  using Box = boost::geometry::model::box<Point>;
  using Value = std::pair<Point, size_t>;
  using Tree = boost::geometry::index::rtree<Value, boost::geometry::index::quadratic<16>>;

  static Point PointOf(const Numbers& n) {
    Point p;
    boost::geometry::set<0>(p, n[0]);
    boost::geometry::set<1>(p, n[1]);
    boost::geometry::set<2>(p, n[2]);
    boost::geometry::set<3>(p, n[3]);
    return p;
  }

  Tree tree_;
};

}  // namespace twinfind::survey

#endif  // SURVEY_POINT_INDEX_H
