#include "ui/pickers.h"

#include <algorithm>

#include "settings/ascii_case.h"
#include "settings/settings.h"
#include "ui/bitmap.h"
#include "ui/dialog_template.h"
#include "ui/picker_tables.h"
#include "ui/resource.h"

namespace twinfind::ui {

NamePicker::NamePicker(int templateId, Dialog* parent, std::span<const std::u16string_view> names,
                       std::span<const int> controlIds)
    : Dialog(templateId, parent),
      mSelectedName(names.front()),
      names_(names),
      controlIds_(controlIds) {}

void NamePicker::PresetName(std::u16string_view name) {
  if (EqualsIgnoringAsciiCase<char16_t>(mSelectedName, name)) return;
  mPreviousName = mSelectedName;
  mSelectedName = name;
}

void NamePicker::SelectName(std::u16string_view name) {
  if (EqualsIgnoringAsciiCase<char16_t>(mSelectedName, name)) return;
  mPreviousName = mSelectedName;
  mSelectedName = name;
  Invalidate(false);
}

void NamePicker::OnItemClicked(int id) {
  const auto at = std::find(controlIds_.begin(), controlIds_.end(), id);
  if (at != controlIds_.end()) SelectName(names_[static_cast<size_t>(at - controlIds_.begin())]);
}

void NamePicker::OnItemDoubleClicked(int id) {
  OnItemClicked(id);
  OnOK();
}

int NamePicker::ControlOfName(std::u16string_view name) const {
  for (size_t i = 0; i < names_.size(); ++i) {
    if (EqualsIgnoringAsciiCase(names_[i], name)) return controlIds_[i];
  }
  return controlIds_.front();
}

void NamePicker::DrawFrame(PaintContext& dc, std::u16string_view name, Color color) {
  PixelRect frame = GetDlgItemRect(ControlOfName(name));
  frame.InflateRect(3, 3);
  const Pen previousPen = dc.SelectObject(Pen{2, color});
  dc.SelectStockObject(StockBrush::kNull);
  dc.Rectangle(frame);
  dc.SelectObject(previousPen);
}

void NamePicker::OnPaint(PaintContext& dc) {
  if (!mPreviousName.empty()) DrawFrame(dc, mPreviousName, dc.GetBkColor());
  if (!mSelectedName.empty()) DrawFrame(dc, mSelectedName, RGB(255, 0, 0));
}

bool NamePicker::PreTranslateKeyDown(int key) {
  if (key == VK_RETURN || key == VK_SPACE) {
    OnOK();
    return true;
  }
  if (key == VK_ESCAPE) {
    OnCancel();
    return true;
  }
  return false;
}

// The colour picker.

const std::array<MessageMapEntry<VxStColorDlg>, 4> VxStColorDlg::kMessageMap{{
    OnControlRange<VxStColorDlg>(STN_CLICKED, IDC_COLOR_01, IDC_COLOR_01,
                                 &VxStColorDlg::OnItemClicked),
    OnControlRange<VxStColorDlg>(STN_CLICKED, IDC_COLOR_02, IDC_COLOR_16,
                                 &VxStColorDlg::OnItemClicked),
    OnControlRange<VxStColorDlg>(STN_DBLCLK, IDC_COLOR_01, IDC_COLOR_01,
                                 &VxStColorDlg::OnItemDoubleClicked),
    OnControlRange<VxStColorDlg>(STN_DBLCLK, IDC_COLOR_02, IDC_COLOR_16,
                                 &VxStColorDlg::OnItemDoubleClicked),
}};

VxStColorDlg::VxStColorDlg(Dialog* parent)
    : NamePicker(kColorPickerId, parent, kColorNames, kColorSwatchIds) {}

void VxStColorDlg::DoDataExchange(DataExchange& dx) {
  for (size_t i = 0; i < mSwatches.size(); ++i) DDX_Control(dx, kColorSwatchIds[i], mSwatches[i]);
}

bool VxStColorDlg::OnCommand(int id, int code) {
  return DispatchMessageMap(*this, kMessageMap, id, code);
}

// The line-type picker.

const std::array<MessageMapEntry<VxStLTypeDlg>, 4> VxStLTypeDlg::kMessageMap{{
    OnControlRange<VxStLTypeDlg>(STN_CLICKED, IDC_LINETYPE_01, IDC_LINETYPE_01,
                                 &VxStLTypeDlg::OnItemClicked),
    OnControlRange<VxStLTypeDlg>(STN_CLICKED, IDC_LINETYPE_02, IDC_LINETYPE_10,
                                 &VxStLTypeDlg::OnItemClicked),
    OnControlRange<VxStLTypeDlg>(STN_DBLCLK, IDC_LINETYPE_01, IDC_LINETYPE_01,
                                 &VxStLTypeDlg::OnItemDoubleClicked),
    OnControlRange<VxStLTypeDlg>(STN_DBLCLK, IDC_LINETYPE_02, IDC_LINETYPE_10,
                                 &VxStLTypeDlg::OnItemDoubleClicked),
}};

VxStLTypeDlg::VxStLTypeDlg(Dialog* parent)
    : NamePicker(kLineTypePickerId, parent, kLineTypeNames, kLineTypeSampleIds) {}

bool VxStLTypeDlg::OnInitDialog() {
  NamePicker::OnInitDialog();
  for (size_t i = 0; i < kLineTypeSampleIds.size(); ++i) {
    auto sample = LoadBitmapResource(kFirstLineTypeBitmap + static_cast<int>(i));
    // The control hands back the bitmap it showed before; that one is deleted here, the new
    // one stays with the control.
    std::unique_ptr<Bitmap> previous = SetDlgItemImage(kLineTypeSampleIds[i], std::move(sample));
    previous.reset();
  }
  return true;
}

bool VxStLTypeDlg::OnCommand(int id, int code) {
  return DispatchMessageMap(*this, kMessageMap, id, code);
}

}  // namespace twinfind::ui
