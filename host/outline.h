// Closed outlines made of lines and arcs: whether figures form one, and which side of it a
// point lies on.
#ifndef HOST_OUTLINE_H
#define HOST_OUTLINE_H

#include <vector>

#include "vexlib/vexlib.h"

namespace vexhost {

// Within this distance two figure ends are joined.
inline constexpr double kJointTolerance = 1e-6;
// Within this distance a point lies on the outline.
inline constexpr double kOnOutlineTolerance = 1e-9;

// True when the figures form one closed chain: a single circle, or lines and arcs that can be
// walked end to start in one cycle through all of them, each once, in either drawing
// direction: in their own order (a closed polyline's), or failing that in any order. The walk
// may pass a point more than once (an outline that touches itself, a notch cut in and out
// along the same line).
bool IsClosedChain(const std::vector<FigureRecord>& figures);

// A closed outline of lines, arcs and circles, split once into pieces along which y runs one
// way, so that many points can be tested against it.
class Outline {
 public:
  Outline(const FigureRecord* figures, int count);

  // True when the point lies strictly outside the outline; a point on it is not outside.
  bool IsOutside(double x, double y) const;

  struct End {
    double x, y;
  };
  // A piece from p to q; XAt gives its x at a height between theirs.
  struct Piece {
    End p, q;
    bool arc;
    double cx, cy, r, side;  // arcs: circle and half (+1 right of the centre, -1 left)
    double XAt(double y) const;
  };

 private:
  // A box around a figure, or the whole outline, outside which no point lies on it.
  struct Reach {
    double minX, minY, maxX, maxY;
    bool Excludes(double x, double y) const { return x < minX || x > maxX || y < minY || y > maxY; }
  };
  std::vector<FigureRecord> figures_;
  std::vector<Reach> reaches_;  // one per figure
  std::vector<Piece> pieces_;
  // The outline's pieces lie within these heights and left of this x (when `bounded`, that is
  // when every coordinate is finite): a point beyond them meets no piece on its ray.
  bool bounded_ = false;
  double lowest_ = 0, highest_ = 0, rightmost_ = 0;
};

// The same for one point: the outline split for it alone.
bool IsOutside(const FigureRecord* figures, int count, double x, double y);

}  // namespace vexhost

#endif  // HOST_OUTLINE_H
