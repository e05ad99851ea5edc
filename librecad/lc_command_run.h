// One run of the command inside LibreCAD: LibreCAD's drawing read into the host, the command
// started on it, each of its steps asked of the user through LibreCAD (a selection for the
// range and the part, a point for a row's place or a balloon's, a line of text for the balloon
// method's material, number and depth, any answer at the confirmation), and after each answer
// the command's changes written back into LibreCAD's drawing. The command is the tool's own,
// step for step; only the questions are LibreCAD's.
#ifndef LIBRECAD_LC_COMMAND_RUN_H
#define LIBRECAD_LC_COMMAND_RUN_H

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "host/step_driver.h"
#include "host/transcript.h"
#include "librecad/lc_reader.h"
#include "librecad/lc_writer.h"

class Document_Interface;

namespace twinfind::librecad {

// Where the command's lines go: LibreCAD's command line, and message boxes.
class CommandLine {
 public:
  virtual ~CommandLine() = default;
  // A line of the command's (a prompt, what it found, an error), or of the plug-in's own.
  virtual void Say(vexhost::MessageKind kind, const QString& text) = 0;
  // A message box of the command's: the user reads it and closes it.
  virtual void Box(const QString& text) = 0;
  // LibreCAD gives a plug-in's selection up at its right button and Escape, whatever the user
  // picked. True when entities are still selected after that (the user ended the selection with
  // the right button rather than giving it up) and LibreCAD was told to take them at once at the
  // next selection asked; false when nothing is selected or it cannot be told.
  virtual bool TakeSelectionLeft() { return false; }
  // The selection was cleared: what shows LibreCAD's count of selected entities shows none.
  virtual void SelectionCleared() {}
};

class CommandRun {
 public:
  // The host is made afresh for the run, LibreCAD's drawing read into it and the command
  // registered; the host's lines go to `line` from then on.
  CommandRun(Document_Interface& doc, CommandLine& line);
  ~CommandRun();
  CommandRun(const CommandRun&) = delete;
  CommandRun& operator=(const CommandRun&) = delete;

  // False (and told) when the drawing could not be read.
  bool ready() const { return ready_; }

  // The command from its first prompt until it ends.
  void Run();
  // The settings dialog, as the end button at the command's first prompt opens it.
  void Settings();
  // The command on one part and its twins over the whole drawing, as a survey hands it on:
  // the range and the part given, the rest asked.
  void RunOnPart(const std::vector<int>& part);

  vexhost::Drawing& drawing();
  ChangeWriter& writer() { return *writer_; }
  // While quiet, the host's lines and message boxes are not passed on: a survey's many searches
  // tell their own troubles (a part too large for a search's tables), which its result already
  // weighs, as the tool's survey does.
  void SetQuiet(bool quiet) { quiet_ = quiet; }

 private:
  // Asks the step the command waits at and hands the answer to it; false when the user's
  // answer could not be taken and the step is asked again.
  void AskStep();
  // Writes the changes so far, then asks the command's steps until it ends.
  void Drive();
  // Writes the command's changes into LibreCAD and tells what could not be written.
  void Sync();
  void Tell(const QString& text);
  // The end button, as the user's giving up at a prompt gives it. The command may keep its
  // prompt (a material it must have); the user who gives up there again leaves the command.
  vexhost::Delivery End();

  Document_Interface& doc_;
  CommandLine& line_;
  EntityMap map_;
  std::unique_ptr<ChangeWriter> writer_;
  bool ready_ = false;
  QString prompt_;    // the command's latest prompt
  int idleEnd_ = -1;  // the step at which the last end button changed nothing
  bool quiet_ = false;
};

}  // namespace twinfind::librecad

#endif  // LIBRECAD_LC_COMMAND_RUN_H
