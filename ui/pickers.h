// The colour picker and the line-type picker: small modal dialogs that offer a set of names as
// swatches or sample pictures and hand back the one the user chose.
#ifndef UI_PICKERS_H
#define UI_PICKERS_H

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "ui/color_swatches.h"
#include "ui/dialog.h"
#include "ui/message_map.h"

namespace twinfind::ui {

// What both pickers share: the selected and the previously selected name, the select step,
// the red selection frame, and the keys.
class NamePicker : public Dialog {
 public:
  std::u16string mSelectedName;
  std::u16string mPreviousName;

  // Opens the picker on a name: when it differs (ignoring case) from the selected name, the
  // selected name becomes the previous one and the preset the selected one.
  void PresetName(std::u16string_view name);

 protected:
  // names[i] is shown by controlIds[i]; the first name is selected at the start.
  NamePicker(int templateId, Dialog* parent, std::span<const std::u16string_view> names,
             std::span<const int> controlIds);

  // The select step: a name other than the selected one becomes selected, the selected one
  // previous, and the dialog repaints without erasing.
  void SelectName(std::u16string_view name);
  void OnItemClicked(int id);
  void OnItemDoubleClicked(int id);  // selects and closes with OK
  // Erases the previous frame in the background colour, then frames the selection in red.
  void OnPaint(PaintContext& dc) override;
  // Enter and Space run OK, Escape Cancel; the picker consumes them.
  bool PreTranslateKeyDown(int key) override;

 private:
  // The control of a name; a name not in the table gives the first control.
  int ControlOfName(std::u16string_view name) const;
  void DrawFrame(PaintContext& dc, std::u16string_view name, Color color);

  std::span<const std::u16string_view> names_;
  std::span<const int> controlIds_;
};

// The colour picker, template 17079: 16 swatches "MAINCOLOR01" to "MAINCOLOR16".
class VxStColorDlg : public NamePicker {
 public:
  explicit VxStColorDlg(Dialog* parent);
  std::array<StaticBkColor, 16> mSwatches;

 protected:
  void DoDataExchange(DataExchange& dx) override;
  bool OnCommand(int id, int code) override;

 private:
  static const std::array<MessageMapEntry<VxStColorDlg>, 4> kMessageMap;
};

// The line-type picker, template 17080: ten sample pictures "LINETYPE01" to "LINETYPE10".
class VxStLTypeDlg : public NamePicker {
 public:
  explicit VxStLTypeDlg(Dialog* parent);

 protected:
  // Gives each sample control its bitmap.
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;

 private:
  static const std::array<MessageMapEntry<VxStLTypeDlg>, 4> kMessageMap;
};

}  // namespace twinfind::ui

#endif  // UI_PICKERS_H
