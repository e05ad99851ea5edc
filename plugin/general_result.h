// The general method after a search: the confirmation of the blinking twins and the point of
// the first arrangement row.
#ifndef PLUGIN_GENERAL_RESULT_H
#define PLUGIN_GENERAL_RESULT_H

namespace twinfind {

int GeneralConfirmStep(const char16_t* text, double x, double y);
int GeneralPlaceStep(const char16_t* text, double x, double y);

}  // namespace twinfind

#endif  // PLUGIN_GENERAL_RESULT_H
