#include "ui/headless/dialog_text.h"

#include <string_view>

namespace twinfind::ui {
namespace {

std::u16string Number(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string_view KindWord(ControlKind kind) {
  switch (kind) {
    case ControlKind::kGroupBox:
      return u"group ";
    case ControlKind::kLabel:
      return u"label ";
    case ControlKind::kPushButton:
      return u"button";
    case ControlKind::kCheckBox:
      return u"check ";
    case ControlKind::kRadioButton:
      return u"radio ";
    case ControlKind::kEdit:
      return u"edit  ";
    case ControlKind::kDropList:
      return u"list  ";
    case ControlKind::kStaticRect:
      return u"static";
    case ControlKind::kStaticBitmap:
      return u"bitmap";
  }
  return u"?     ";
}

std::u16string ListState(const ControlSnapshot& c) {
  std::u16string s = u"[";
  if (c.curSel >= 0 && static_cast<size_t>(c.curSel) < c.entries.size()) s += c.entries[c.curSel];
  s += u"]";
  if (c.entries.empty()) return s + u" (no entries)";
  s += u" of ";
  for (size_t i = 0; i < c.entries.size(); ++i) {
    if (i > 0) s += u" | ";
    s += c.entries[i];
  }
  return s;
}

std::u16string PaintedState(const ControlSnapshot& c) {
  if (!c.ownerPainted) return c.kind == ControlKind::kStaticRect ? u"white" : u"";
  if (c.paint.empty()) return u"painted nothing";
  std::u16string s = u"painted";
  for (const PaintOp& op : c.paint) {
    s += op.kind == PaintOp::Kind::kFill ? u" " : u" rectangle ";
    s += ColorText(op.color);
  }
  return s;
}

std::u16string ImageState(const ControlSnapshot& c) {
  if (!c.image) return u"no image";
  std::u16string s = u"image ";
  if (c.image->resourceId != 0) s += Number(c.image->resourceId) + u" ";
  return s + Number(c.image->width) + u"x" + Number(c.image->height);
}

std::u16string DescribeControl(const ControlSnapshot& c) {
  std::u16string id = c.id == -1 ? u"-" : Number(c.id);
  std::u16string line(id.size() < 5 ? 5 - id.size() : 0, u' ');
  line += id + u" " + std::u16string(KindWord(c.kind)) + u" ";
  switch (c.kind) {
    case ControlKind::kGroupBox:
    case ControlKind::kLabel:
    case ControlKind::kPushButton:
      return line + c.text;
    case ControlKind::kCheckBox:
      return line + (c.check != 0 ? u"[x] " : u"[ ] ") + c.text;
    case ControlKind::kRadioButton:
      return line + (c.check != 0 ? u"(*) " : u"( ) ") + c.text;
    case ControlKind::kEdit:
      return line + u"\"" + c.text + u"\"";
    case ControlKind::kDropList:
      return line + ListState(c);
    case ControlKind::kStaticRect:
      return line + PaintedState(c);
    case ControlKind::kStaticBitmap: {
      const std::u16string painted = PaintedState(c);
      return line + ImageState(c) + (painted.empty() ? u"" : u", " + painted);
    }
  }
  return line;
}

// Where a drawing lies: "around ID" when it surrounds a control at a few pixels' distance.
std::u16string Placement(const PixelRect& r, const DialogSnapshot& dialog) {
  for (const ControlSnapshot& c : dialog.controls) {
    for (int d = 0; d <= 5; ++d) {
      PixelRect around = c.window;
      around.InflateRect(d, d);
      if (around == r && c.id != -1) return u"around " + Number(c.id);
    }
  }
  return u"at " + Number(r.left) + u"," + Number(r.top) + u"-" + Number(r.right) + u"," +
         Number(r.bottom);
}

std::u16string DescribePaint(const PaintOp& op, const DialogSnapshot& dialog) {
  if (op.kind == PaintOp::Kind::kFill) {
    return u"paint: fill " + ColorText(op.color) + u" " + Placement(op.rect, dialog);
  }
  return std::u16string(op.hollow ? u"paint: frame " : u"paint: rectangle ") + ColorText(op.color) +
         u" " + Number(op.penWidth) + u"px " + Placement(op.rect, dialog);
}

}  // namespace

std::u16string ColorText(Color color) {
  constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string s = u"#";
  for (uint8_t v : {color.r, color.g, color.b}) {
    s += kHex[v >> 4];
    s += kHex[v & 15];
  }
  return s;
}

DialogText DescribeDialog(const DialogSnapshot& dialog) {
  DialogText text;
  if (dialog.source != nullptr) {
    text.header = u"== " + std::u16string(dialog.source->caption) + u" (" +
                  Number(dialog.source->id) + u") ==";
  }
  for (const ControlSnapshot& c : dialog.controls) text.controls.push_back(DescribeControl(c));
  for (const PaintOp& op : dialog.paint) text.paint.push_back(DescribePaint(op, dialog));
  text.focus = u"focus: " + (dialog.focusId == -1 ? u"none" : Number(dialog.focusId));
  return text;
}

std::vector<std::u16string> AllLines(const DialogText& text) {
  std::vector<std::u16string> lines{text.header};
  lines.insert(lines.end(), text.controls.begin(), text.controls.end());
  lines.insert(lines.end(), text.paint.begin(), text.paint.end());
  lines.push_back(text.focus);
  return lines;
}

std::vector<std::u16string> ChangedLines(const DialogText& before, const DialogText& after) {
  if (before.header != after.header || before.controls.size() != after.controls.size()) {
    return AllLines(after);
  }
  std::vector<std::u16string> lines;
  for (size_t i = 0; i < after.controls.size(); ++i) {
    if (after.controls[i] != before.controls[i]) lines.push_back(after.controls[i]);
  }
  if (after.paint != before.paint) {
    if (after.paint.empty()) lines.push_back(u"paint: nothing");
    lines.insert(lines.end(), after.paint.begin(), after.paint.end());
  }
  if (after.focus != before.focus) lines.push_back(after.focus);
  return lines;
}

}  // namespace twinfind::ui
