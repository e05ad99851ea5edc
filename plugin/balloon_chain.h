// The balloon array method's first steps: range, material, part number, depth, part.
#ifndef PLUGIN_BALLOON_CHAIN_H
#define PLUGIN_BALLOON_CHAIN_H

namespace twinfind {

int BalloonRangeStep(const char16_t* text, double x, double y);
int MaterialStep(const char16_t* text, double x, double y);
int PartNumberStep(const char16_t* text, double x, double y);
int DepthStep(const char16_t* text, double x, double y);
int BalloonPartStep(const char16_t* text, double x, double y);

// Registers the step that starts the next part (material or part number) and returns 2.
int GoToPartStart();

}  // namespace twinfind

#endif  // PLUGIN_BALLOON_CHAIN_H
