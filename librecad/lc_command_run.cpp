#include "librecad/lc_command_run.h"

#include <document_interface.h>

#include <QList>

#include "common/language.h"
#include "dxf/curve_flattening.h"
#include "host/host.h"
#include "host/step_kind.h"
#include "librecad/lc_texts.h"
#include "plugin/entry.h"
#include "settings/setting_values.h"
#include "settings/settings.h"

namespace twinfind::librecad {
namespace {

QString QStringOf(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<int>(text.size()));
}

std::u16string U16Of(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

// The ids of the entities of a selection, whose handles it deletes.
std::vector<qulonglong> IdsOf(QList<Plug_Entity*>& selection) {
  std::vector<qulonglong> ids;
  for (Plug_Entity* e : selection) {
    QHash<int, QVariant> data;
    e->getData(&data);
    ids.push_back(data.value(DPI::EID).toULongLong());
  }
  qDeleteAll(selection);
  selection.clear();
  return ids;
}

}  // namespace

CommandRun::CommandRun(Document_Interface& doc, CommandLine& line) : doc_(doc), line_(line) {
  vexhost::ResetHost();
  vexhost::Host& host = vexhost::TheHost();
  host.transcript.SetSink([this](const vexhost::Message& m) {
    if (quiet_) return;
    if (m.kind == vexhost::MessageKind::kBox) {
      line_.Box(QStringOf(m.text));
    } else if (m.kind == vexhost::MessageKind::kPrompt) {
      prompt_ = QStringOf(m.text);
    } else if (m.kind != vexhost::MessageKind::kCursor) {
      line_.Say(m.kind, QStringOf(m.text));
    }
  });
  // The settings are read at the command's start; the language is theirs from then on, and
  // this run's own lines before it follow it too.
  SetLanguage(LanguageOfSetting(StoredSettingText(u"mLanguage")));
  const ReadResult read = ReadDrawing(doc_, host.drawing, map_, dxf::kDefaultChordTolerance);
  if (!read.error.empty()) {
    Tell(Said(lc_texts::kCannotRead).arg(QString::fromStdString(read.error)));
    return;
  }
  if (!read.notRead.empty()) {
    QStringList kinds;
    for (const auto& [type, count] : read.notRead)
      kinds << QString::fromStdString(type) + QLatin1Char(' ') + QString::number(count);
    Tell(Said(lc_texts::kNotRead).arg(kinds.join(QStringLiteral(", "))));
  }
  writer_ = std::make_unique<ChangeWriter>(doc_, host.drawing, map_);
  ready_ = Startup(nullptr) == 0;
}

CommandRun::~CommandRun() {
  vexhost::Host& host = vexhost::TheHost();
  if (host.driver.active()) host.driver.Abandon();
  if (writer_) {
    Sync();
    writer_->ClearHighlight();
  }
  host.transcript.SetSink(nullptr);
  doc_.updateView();
}

vexhost::Drawing& CommandRun::drawing() { return vexhost::TheHost().drawing; }

void CommandRun::Tell(const QString& text) { line_.Say(vexhost::MessageKind::kInfo, text); }

void CommandRun::Sync() {
  const WriteCounts counts = writer_->Sync();
  if (counts.notWritten > 0) Tell(Said(lc_texts::kNotWritten).arg(counts.notWritten));
  if (counts.lostTrack) Tell(Said(lc_texts::kLostTrack));
  doc_.updateView();
}

vexhost::Delivery CommandRun::End() {
  vexhost::StepDriver& driver = vexhost::TheHost().driver;
  const int step = driver.stepsTaken();
  const vexhost::Delivery delivery = driver.End();
  if (!driver.active() || driver.stepsTaken() != step) {
    idleEnd_ = -1;
  } else if (idleEnd_ == step) {
    Tell(Said(lc_texts::kLeaving));
    driver.Abandon();
  } else {
    idleEnd_ = step;
  }
  return delivery;
}

void CommandRun::AskStep() {
  vexhost::StepDriver& driver = vexhost::TheHost().driver;
  const QString prompt = prompt_;
  if (!prompt.isEmpty()) line_.Say(vexhost::MessageKind::kPrompt, prompt);
  vexhost::Delivery delivery;
  switch (vexhost::StepKindOf(driver)) {
    case vexhost::StepKind::kNone:
      return;
    case vexhost::StepKind::kRange:
    case vexhost::StepKind::kWindow: {
      QList<Plug_Entity*> selection;
      bool answered = doc_.getSelect(&selection, prompt);
      // Ended with the right button: the entities picked are still selected; asked again, at
      // once, LibreCAD hands them over.
      if (!answered && line_.TakeSelectionLeft()) answered = doc_.getSelect(&selection, prompt);
      const std::vector<qulonglong> ids = IdsOf(selection);
      doc_.updateView();  // LibreCAD's selection goes: the next one starts empty
      line_.SelectionCleared();
      // Nothing selected, or the selection given up: the end button.
      if (!answered || ids.empty()) {
        delivery = End();
        break;
      }
      int unread = 0;
      const std::vector<int> segments = writer_->SegmentsOf(ids, unread);
      if (segments.empty()) {
        Tell(Said(lc_texts::kNothingReadable));
        return;  // the same step is asked again
      }
      if (unread > 0) Tell(Said(lc_texts::kSomeUnread).arg(unread));
      delivery = driver.Select(segments);
      break;
    }
    case vexhost::StepKind::kPoint: {
      QPointF point;
      delivery = doc_.getPoint(&point, prompt) ? driver.Point({point.x(), point.y()}) : End();
      break;
    }
    case vexhost::StepKind::kKeyin: {
      QString text;
      delivery = doc_.getString(&text, prompt, QStringLiteral("Twinfind"))
                     ? driver.Keyin(U16Of(text))
                     : End();
      break;
    }
    case vexhost::StepKind::kEnd: {
      // The twins are shown; any answer (a click, the right button, Escape) is the end button.
      QPointF point;
      doc_.getPoint(&point, prompt);
      delivery = End();
      break;
    }
  }
  if (!delivery.taken) Tell(Said(lc_texts::kRefused).arg(QString::fromStdString(delivery.reason)));
}

void CommandRun::Run() {
  if (ready_ && vexhost::TheHost().driver.Start()) Drive();
}

void CommandRun::Drive() {
  Sync();
  while (vexhost::TheHost().driver.active()) {
    AskStep();
    Sync();
  }
}

void CommandRun::Settings() {
  if (!ready_) return;
  vexhost::StepDriver& driver = vexhost::TheHost().driver;
  if (!driver.Start()) return;
  driver.End();  // the end button at the first prompt: the dialog, then the command ends
  if (driver.active()) driver.Abandon();
}

void CommandRun::RunOnPart(const std::vector<int>& part) {
  if (!ready_) return;
  vexhost::StepDriver& driver = vexhost::TheHost().driver;
  if (!driver.Start()) return;
  driver.Select(drawing().SegmentIds());
  if (driver.active() && vexhost::StepKindOf(driver) == vexhost::StepKind::kWindow)
    driver.Select(part);
  Drive();
}

}  // namespace twinfind::librecad
