// The settings that decide what a twin is, read from the user's store without writing to it.
#ifndef TOOLS_SURVEY_SEARCH_SETTINGS_H
#define TOOLS_SURVEY_SEARCH_SETTINGS_H

#include <string>
#include <utility>
#include <vector>

#include "engine/find_matches.h"

namespace twinfind::survey {

struct SearchSettings {
  SearchOptions options;
  // mIsRotate, mIsSymmetry, mIsLayer, mIsColor and mTolerance as stored (or their defaults).
  std::vector<std::pair<std::string, std::string>> texts;
};

// The search options the stored settings give, as the command's part step takes them.
SearchSettings ReadSearchSettings();

}  // namespace twinfind::survey

#endif  // TOOLS_SURVEY_SEARCH_SETTINGS_H
