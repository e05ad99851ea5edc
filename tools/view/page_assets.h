// The page's files, compiled into the tool from tools/view/page/ (embed_page.cmake): plain
// HTML, CSS and JavaScript, with no build step of their own and nothing fetched from elsewhere.
#ifndef TOOLS_VIEW_PAGE_ASSETS_H
#define TOOLS_VIEW_PAGE_ASSETS_H

#include <span>
#include <string_view>

namespace twinfind::tool::view {

struct PageAsset {
  std::string_view name;  // "index.html", "view.js", ...
  std::string_view type;  // its Content-Type
  std::string_view body;
};

std::span<const PageAsset> PageAssets();

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_PAGE_ASSETS_H
