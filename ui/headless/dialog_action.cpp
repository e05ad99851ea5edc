#include "ui/headless/dialog_action.h"

#include <limits>

#include "settings/ascii_case.h"

namespace twinfind::ui {
namespace {

using Verb = DialogAction::Verb;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view TrimLeft(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::u16string_view Trim(std::u16string_view s) {
  s = TrimLeft(s);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == u'\r')) s.remove_suffix(1);
  return s;
}

// Splits off the first word; `rest` keeps what follows the blank after it, untouched.
std::u16string_view NextWord(std::u16string_view& rest) {
  rest = TrimLeft(rest);
  size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  const std::u16string_view word = rest.substr(0, end);
  rest = end < rest.size() ? rest.substr(end + 1) : std::u16string_view();
  return word;
}

// A whole decimal integer word, optionally negative, within the range of int.
std::optional<int> ParseInteger(std::u16string_view word) {
  bool negative = false;
  if (!word.empty() && word.front() == u'-') {
    negative = true;
    word.remove_prefix(1);
  }
  if (word.empty() || word.size() > 10) return std::nullopt;
  long long value = 0;
  for (char16_t c : word) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

bool Is(std::u16string_view word, std::u16string_view name) {
  return EqualsIgnoringAsciiCase(word, name);
}

ParsedAction Fail(std::u16string why) { return {std::nullopt, std::move(why)}; }

std::optional<int> KeyCode(std::u16string_view word) {
  if (Is(word, u"enter") || Is(word, u"return")) return 13;
  if (Is(word, u"space")) return 32;
  if (Is(word, u"escape") || Is(word, u"esc")) return 27;
  const auto code = ParseInteger(word);
  if (code && *code >= 1 && *code <= 255) return code;
  return std::nullopt;
}

}  // namespace

ParsedAction ParseDialogAction(std::u16string_view line) {
  std::u16string_view rest = line;
  const std::u16string_view verb = NextWord(rest);
  DialogAction action;
  if (verb.empty()) {
    return Fail(u"an empty action (expected " + std::u16string(kDialogActionsHelp) + u")");
  }
  if (Is(verb, u"click") || Is(verb, u"dblclick")) {
    action.verb = Is(verb, u"click") ? Verb::kClick : Verb::kDoubleClick;
    const auto id = ParseInteger(NextWord(rest));
    if (!id || !Trim(rest).empty()) {
      return Fail(std::u16string(verb) + u" needs one control id, as in: " + std::u16string(verb) +
                  u" 12007");
    }
    action.id = *id;
  } else if (Is(verb, u"text")) {
    action.verb = Verb::kText;
    const auto id = ParseInteger(NextWord(rest));
    if (!id) return Fail(u"text needs a control id and the text, as in: text 12016 7.5");
    action.id = *id;
    action.text = std::u16string(rest);  // the rest of the line, blanks included
  } else if (Is(verb, u"select")) {
    action.verb = Verb::kSelect;
    const auto id = ParseInteger(NextWord(rest));
    const auto index = ParseInteger(NextWord(rest));
    if (!id || !index || !Trim(rest).empty()) {
      return Fail(u"select needs a control id and an entry index, as in: select 12022 1");
    }
    action.id = *id;
    action.number = *index;
  } else if (Is(verb, u"key")) {
    action.verb = Verb::kKey;
    const auto code = KeyCode(NextWord(rest));
    if (!code || !Trim(rest).empty()) {
      return Fail(u"key needs enter, space, escape or a key code from 1 to 255");
    }
    action.number = *code;
  } else if (Is(verb, u"ok") || Is(verb, u"cancel")) {
    action.verb = Is(verb, u"ok") ? Verb::kOk : Verb::kCancel;
    if (!Trim(rest).empty()) return Fail(std::u16string(verb) + u" takes nothing after it");
  } else if (Is(verb, u"picture")) {
    action.verb = Verb::kPicture;
    action.text = std::u16string(Trim(rest));
    if (action.text.empty()) return Fail(u"picture needs a file name, as in: picture dialog.svg");
  } else {
    return Fail(u"unknown action '" + std::u16string(verb) + u"' (expected " +
                std::u16string(kDialogActionsHelp) + u")");
  }
  return {action, u""};
}

}  // namespace twinfind::ui
