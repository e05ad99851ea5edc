#include "tools/view/dialog_view.h"

#include <algorithm>
#include <optional>

#include "common/utf.h"
#include "ui/bitmap.h"

namespace twinfind::tool::view {
namespace {

using ui::ControlKind;

constexpr std::u16string_view kOpening = u"== ";
constexpr std::u16string_view kClosing = u" ==";

// A whole number at the start of the text (after blanks); how many characters it took.
std::optional<int> LeadingNumber(std::u16string_view text, size_t& used) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && text[i] == u'-') {
    negative = true;
    ++i;
  }
  long long value = 0;
  const size_t digits = i;
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && value < 100000000) {
    value = value * 10 + (text[i] - u'0');
    ++i;
  }
  if (i == digits) return std::nullopt;
  used = i;
  return static_cast<int>(negative ? -value : value);
}

std::vector<std::u16string> Split(std::u16string_view text, std::u16string_view separator) {
  std::vector<std::u16string> parts;
  size_t from = 0;
  while (true) {
    const size_t at = text.find(separator, from);
    parts.emplace_back(text.substr(from, at == std::u16string_view::npos ? at : at - from));
    if (at == std::u16string_view::npos) return parts;
    from = at + separator.size();
  }
}

// "#RRGGBB" words of a text, in order.
std::vector<std::string> Colors(std::u16string_view text) {
  std::vector<std::string> colors;
  for (size_t at = text.find(u'#'); at != std::u16string_view::npos; at = text.find(u'#', at + 1)) {
    if (at + 7 <= text.size()) colors.push_back(ToUtf8(text.substr(at, 7)));
  }
  return colors;
}

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kGroupBox:
      return "group";
    case ControlKind::kLabel:
      return "label";
    case ControlKind::kPushButton:
      return "button";
    case ControlKind::kCheckBox:
      return "check";
    case ControlKind::kRadioButton:
      return "radio";
    case ControlKind::kEdit:
      return "edit";
    case ControlKind::kDropList:
      return "list";
    case ControlKind::kStaticRect:
      return "swatch";
    case ControlKind::kStaticBitmap:
      return "bitmap";
  }
  return "label";
}

}  // namespace

int DialogView::topTemplate() const {
  return stack_.empty() || stack_.back().source == nullptr ? 0 : stack_.back().source->id;
}

std::optional<std::u16string> DialogView::Take(std::u16string_view line) {
  if (line.starts_with(kOpening) && line.ends_with(kClosing)) {
    const std::u16string_view inner =
        line.substr(kOpening.size(), line.size() - kOpening.size() - kClosing.size());
    // "CAPTION (ID)" opens a dialog; "CAPTION closed ..." and "CAPTION has no more actions ..."
    // close the one on top.
    if (inner.ends_with(u")")) {
      const size_t open = inner.rfind(u" (");
      size_t used = 0;
      if (open != std::u16string_view::npos) {
        if (const auto id = LeadingNumber(inner.substr(open + 2), used)) {
          OpenDialog dialog;
          dialog.source = ui::FindDialogTemplate(*id);
          stack_.push_back(std::move(dialog));
          return std::nullopt;
        }
      }
    }
    if (!stack_.empty()) stack_.pop_back();
    return std::nullopt;
  }
  if (line.starts_with(u"refused ")) {
    // refused "ACTION": WHY
    const size_t why = line.find(u"\": ");
    return std::u16string(why == std::u16string_view::npos ? line : line.substr(why + 3));
  }
  if (stack_.empty()) return std::nullopt;
  OpenDialog& dialog = stack_.back();
  if (line.starts_with(u"paint: ")) {
    TakePaint(dialog, line.substr(7));
    return std::nullopt;
  }
  dialog.lastLineWasPaint = false;
  if (line.starts_with(u"focus: ")) {
    size_t used = 0;
    dialog.focusId = LeadingNumber(line.substr(7), used).value_or(-1);
    return std::nullopt;
  }
  if (line.starts_with(u"actions: ") || line.starts_with(u"picture ")) return std::nullopt;
  TakeControl(dialog, line);
  return std::nullopt;
}

void DialogView::TakeControl(OpenDialog& dialog, std::u16string_view line) {
  // "ID KIND  STATE": the id right-aligned in five places, the kind in six.
  size_t used = 0;
  const auto id = LeadingNumber(line, used);
  if (!id || *id == -1 || line.size() < used + 8) return;  // labels and group boxes stay as made
  const std::u16string_view state = line.substr(used + 8);
  const ui::ControlTemplate* source = nullptr;
  if (dialog.source != nullptr) {
    for (const ui::ControlTemplate& c : dialog.source->controls) {
      if (c.id == *id) source = &c;
    }
  }
  if (source == nullptr) return;
  ControlState& c = dialog.controls[*id];
  switch (source->kind) {
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      c.check = state.size() > 1 && (state[1] == u'x' || state[1] == u'*') ? 1 : 0;
      c.text = std::u16string(state.substr(state.size() > 4 ? 4 : state.size()));
      break;
    case ControlKind::kEdit:
      c.text = std::u16string(state.size() >= 2 ? state.substr(1, state.size() - 2) : u"");
      break;
    case ControlKind::kDropList: {
      // "[SELECTION] of A | B | C" or "[] (no entries)"
      const size_t close = state.find(u']');
      if (state.empty() || state[0] != u'[' || close == std::u16string_view::npos) return;
      const std::u16string selection(state.substr(1, close - 1));
      const std::u16string_view rest = state.substr(close + 1);
      c.entries.clear();
      if (rest.starts_with(u" of ")) c.entries = Split(rest.substr(4), u" | ");
      c.curSel = -1;
      for (size_t i = 0; i < c.entries.size() && !selection.empty(); ++i) {
        if (c.entries[i] == selection) {
          c.curSel = static_cast<int>(i);
          break;
        }
      }
      break;
    }
    case ControlKind::kStaticRect:
      c.fills = state.starts_with(u"painted") ? Colors(state) : std::vector<std::string>{};
      break;
    case ControlKind::kStaticBitmap: {
      // "image 17046 62x23" or "no image", then ", painted ..." when it paints itself
      c.imageId = 0;
      if (state.starts_with(u"image ")) {
        std::u16string_view words = state.substr(6);
        const auto first = LeadingNumber(words, used);
        if (first && used < words.size() && words[used] == u' ') {
          c.imageId = *first;
          words = words.substr(used + 1);
        }
        if (const auto w = LeadingNumber(words, used); w && used < words.size()) {
          c.imageWidth = *w;
          const auto h = LeadingNumber(words.substr(used + 1), used);
          c.imageHeight = h.value_or(0);
        }
      }
      const size_t painted = state.find(u"painted");
      c.fills = painted == std::u16string_view::npos ? std::vector<std::string>{}
                                                     : Colors(state.substr(painted));
      break;
    }
    default:
      c.text = std::u16string(state);
      break;
  }
}

void DialogView::TakePaint(OpenDialog& dialog, std::u16string_view line) {
  // A dialog shows its paint lines as a whole: a new run replaces the last one.
  if (!dialog.lastLineWasPaint) dialog.paint.clear();
  dialog.lastLineWasPaint = true;
  // "fill #RRGGBB PLACE", "frame #RRGGBB 2px PLACE", "rectangle #RRGGBB 1px PLACE"; PLACE is
  // "around ID" or "at L,T-R,B".
  PaintState op;
  op.fill = line.starts_with(u"fill ");
  op.hollow = line.starts_with(u"frame ");
  const std::vector<std::string> colors = Colors(line);
  if (colors.empty()) return;
  op.color = colors.front();
  size_t used = 0;
  if (!op.fill) {
    const size_t width = line.find(u"px ");
    const size_t space = line.rfind(u' ', width);
    if (width == std::u16string_view::npos || space == std::u16string_view::npos) return;
    op.penWidth = LeadingNumber(line.substr(space + 1), used).value_or(1);
  }
  if (const size_t around = line.find(u"around "); around != std::u16string_view::npos) {
    const auto id = LeadingNumber(line.substr(around + 7), used);
    if (!id || dialog.source == nullptr) return;
    for (const ui::ControlTemplate& c : dialog.source->controls) {
      if (c.id != *id) continue;
      // A control's rectangle in pixels; the pickers draw their frames 3 pixels outside it.
      // A bitmap control has taken its bitmap's size with its border.
      const auto state = dialog.controls.find(c.id);
      const bool sized = c.kind == ControlKind::kStaticBitmap && state != dialog.controls.end() &&
                         state->second.imageWidth > 0;
      const int inflate = op.fill ? 0 : 3;
      op.left = ui::DialogUnitsToPixelsX(c.rect.x) - inflate;
      op.top = ui::DialogUnitsToPixelsY(c.rect.y) - inflate;
      op.right = sized ? op.left + inflate + state->second.imageWidth + 2 + inflate
                       : ui::DialogUnitsToPixelsX(c.rect.x + c.rect.w) + inflate;
      op.bottom = sized ? op.top + inflate + state->second.imageHeight + 2 + inflate
                        : ui::DialogUnitsToPixelsY(c.rect.y + c.rect.h) + inflate;
    }
  } else if (const size_t at = line.find(u" at "); at != std::u16string_view::npos) {
    std::u16string_view place = line.substr(at + 4);
    int* edges[] = {&op.left, &op.top, &op.right, &op.bottom};
    for (int* edge : edges) {
      const auto v = LeadingNumber(place, used);
      if (!v) return;
      *edge = *v;
      place = place.substr(std::min(place.size(), used + 1));
    }
  } else {
    return;
  }
  dialog.paint.push_back(op);
}

std::string DialogView::BitmapAddress(int resourceId) {
  static std::map<int, std::string> cache;
  auto [at, fresh] = cache.try_emplace(resourceId);
  if (fresh) {
    if (const auto bitmap = ui::LoadBitmapResource(resourceId)) {
      at->second = ui::BmpDataAddress(*bitmap);
    }
  }
  return at->second;
}

nlohmann::json DialogView::Json() const {
  nlohmann::json dialogs = nlohmann::json::array();
  for (const OpenDialog& d : stack_) {
    if (d.source == nullptr) {
      dialogs.push_back({{"template", 0}, {"caption", ""}, {"controls", nlohmann::json::array()}});
      continue;
    }
    nlohmann::json controls = nlohmann::json::array();
    for (const ui::ControlTemplate& t : d.source->controls) {
      nlohmann::json c = {{"id", t.id},
                          {"kind", KindName(t.kind)},
                          {"text", ToUtf8(t.text)},
                          {"left", ui::DialogUnitsToPixelsX(t.rect.x)},
                          {"top", ui::DialogUnitsToPixelsY(t.rect.y)},
                          {"right", ui::DialogUnitsToPixelsX(t.rect.x + t.rect.w)},
                          {"bottom", ui::DialogUnitsToPixelsY(t.rect.y + t.rect.h)},
                          {"notify", (t.style & ui::kNotify) != 0},
                          {"bordered", (t.style & (ui::kBorder | ui::kSunken)) != 0}};
      if (const auto s = d.controls.find(t.id); s != d.controls.end() && t.id != -1) {
        const ControlState& state = s->second;
        if (t.kind != ControlKind::kStaticRect && t.kind != ControlKind::kStaticBitmap) {
          c["text"] = ToUtf8(state.text);
        }
        c["check"] = state.check;
        nlohmann::json entries = nlohmann::json::array();
        for (const std::u16string& e : state.entries) entries.push_back(ToUtf8(e));
        c["entries"] = entries;
        c["curSel"] = state.curSel;
        c["fills"] = state.fills;
        if (state.imageId != 0) {
          c["image"] = BitmapAddress(state.imageId);
          // A bitmap control takes its bitmap's size, with its border, at its top left corner.
          c["right"] = c["left"].get<int>() + state.imageWidth + 2;
          c["bottom"] = c["top"].get<int>() + state.imageHeight + 2;
        }
      }
      controls.push_back(std::move(c));
    }
    nlohmann::json paint = nlohmann::json::array();
    for (const PaintState& p : d.paint) {
      paint.push_back({{"fill", p.fill},
                       {"hollow", p.hollow},
                       {"color", p.color},
                       {"penWidth", p.penWidth},
                       {"left", p.left},
                       {"top", p.top},
                       {"right", p.right},
                       {"bottom", p.bottom}});
    }
    dialogs.push_back({{"template", d.source->id},
                       {"caption", ToUtf8(d.source->caption)},
                       {"width", ui::DialogUnitsToPixelsX(d.source->width)},
                       {"height", ui::DialogUnitsToPixelsY(d.source->height)},
                       {"controls", controls},
                       {"paint", paint},
                       {"focus", d.focusId}});
  }
  return dialogs;
}

}  // namespace twinfind::tool::view
