// The curves of EntityDecoder that the host holds as lines: SPLINE and ELLIPSE, flattened within
// the chord tolerance (dxf/curve_flattening.h) into one segment each.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "dxf/curve_flattening.h"
#include "dxf/entity_decoder.h"
#include "dxf/number_text.h"

namespace twinfind::dxf {

void EntityDecoder::Spline() {
  SplineData s;
  s.degree = Int(71, 3);
  // Knots, weights, control and fit points come in order: each 10 (11) begins a point, the
  // 20 (21) after it is its y.
  bool controlY = true, fitY = true;
  for (size_t i = 1; i < groups_.size(); ++i) {
    const Group& g = groups_[i];
    if (g.code >= 999) break;  // comments and extended data are no values of it
    if (g.code != 10 && g.code != 20 && g.code != 11 && g.code != 21 && g.code != 40 &&
        g.code != 41) {
      continue;
    }
    const RealText read = ReadReal(g.value);
    if (!read.ok() && fault_.empty()) fault_ = kNoNumber;
    switch (g.code) {
      case 40:
        s.knots.push_back(read.value);
        break;
      case 41:
        s.weights.push_back(read.value);
        break;
      case 10:
        if (!controlY && fault_.empty()) fault_ = kGroupMissing;
        s.controlPoints.push_back({read.value, 0});
        controlY = false;
        break;
      case 20:
        if (!s.controlPoints.empty()) s.controlPoints.back().y = read.value;
        controlY = true;
        break;
      case 11:
        if (!fitY && fault_.empty()) fault_ = kGroupMissing;
        s.fitPoints.push_back({read.value, 0});
        fitY = false;
        break;
      case 21:
        if (!s.fitPoints.empty()) s.fitPoints.back().y = read.value;
        fitY = true;
        break;
    }
  }
  if ((!controlY || !fitY) && fault_.empty()) fault_ = kGroupMissing;
  if (s.controlPoints.empty() && s.fitPoints.empty() && fault_.empty()) fault_ = kGroupMissing;
  const auto side = PlaneSide();
  if (Faulty()) return NotHeld("SPLINE", fault_);
  if (!side) return NotHeld("SPLINE", "not in the drawing plane");
  AddCurve("SPLINE", FlattenSpline(s, chordTolerance_, CurveLinesLeft()));
}

void EntityDecoder::Ellipse() {
  EllipseData e;
  e.centre = {Required(10), Required(20)};
  e.majorAxis = {Required(11), Required(21)};
  e.ratio = Required(40);
  e.startParameter = Real(41, 0);
  e.endParameter = Real(42, 2 * std::numbers::pi);
  const auto side = PlaneSide();
  if (Faulty()) return NotHeld("ELLIPSE", fault_);
  if (!side) return NotHeld("ELLIPSE", "not in the drawing plane");
  e.side = *side;
  AddCurve("ELLIPSE", FlattenEllipse(e, chordTolerance_, CurveLinesLeft()));
}

size_t EntityDecoder::CurveLinesLeft() const {
  return std::min(kMostCurveLines, mostCurveLines_ - std::min(mostCurveLines_, model_.curveLines));
}

void EntityDecoder::AddCurve(std::string_view type, const CurveLines& curve) {
  switch (curve.refusal) {
    case CurveRefusal::kNone:
      break;
    case CurveRefusal::kInvalid:
      return NotHeld(type, "invalid geometry");
    case CurveRefusal::kTooManyPoints:
      return NotHeld(type, "more than " + std::to_string(kMostSplinePoints) + " points");
    case CurveRefusal::kTooManyLines:
      // When the drawing's allowance, not the curve's own, ran out, the message says so: the
      // chord tolerance is the drawing's.
      return NotHeld(type, (CurveLinesLeft() < kMostCurveLines
                                ? "the drawing's curves would pass " +
                                      std::to_string(mostCurveLines_) + " lines"
                                : "more than " + std::to_string(kMostCurveLines) + " lines") +
                               " at the chord tolerance");
  }
  model_.curveLines += curve.lines.size();
  if (curve.coarser) ++model_.coarserCurves;
  AddFigures(NewItem(Item::Kind::kFigures, type), curve.lines);
}

}  // namespace twinfind::dxf
