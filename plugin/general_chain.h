// The general search method's first steps: the search range and the part.
#ifndef PLUGIN_GENERAL_CHAIN_H
#define PLUGIN_GENERAL_CHAIN_H

namespace twinfind {

int GeneralRangeStep(const char16_t* text, double x, double y);
int GeneralPartStep(const char16_t* text, double x, double y);

}  // namespace twinfind

#endif  // PLUGIN_GENERAL_CHAIN_H
