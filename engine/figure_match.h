// Figure-by-figure agreement of two figure lists.
#ifndef ENGINE_FIGURE_MATCH_H
#define ENGINE_FIGURE_MATCH_H

#include "engine/door_check.h"

#include "vexlib/vexlib.h"

namespace twinfind {

// |a - b| < tolerance, the rounding of numbers of a and b's size forgiven (false for NaN).
bool Within(double a, double b, double tolerance);
// The points lie less than `tolerance` apart, the rounding of their coordinates forgiven: a
// distance, so that two figures agree however the drawing is turned (false for NaN).
bool PointsWithin(double ax, double ay, double bx, double by, double tolerance);
// The same 8 bytes.
bool BitEqual(double a, double b);

// The figure drawn the other way, as the host reverses it: a line's ends swap, an arc's ends
// swap and its direction flips; other kinds have no direction.
FigureRecord ReversedFigure(const FigureRecord& figure);

// True when the two figures are of the same kind and agree field by field, their points within
// the tolerance of each other and their sizes within it.
bool FiguresAgree(const FigureRecord& a, const FigureRecord& b, double tolerance);

// True when every figure of b is taken by a figure of a: each figure of a, in order, takes the
// first figure of b not yet taken that agrees with it. The lists have the same length n.
bool AllFiguresMatched(const FigureRecord* a, const FigureRecord* b, int n, double tolerance);

}  // namespace twinfind

#endif  // ENGINE_FIGURE_MATCH_H
