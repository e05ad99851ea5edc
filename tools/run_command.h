// twinfind run and twinfind demo: a drawing, the command, the user's actions, the outputs.
#ifndef TOOLS_RUN_COMMAND_H
#define TOOLS_RUN_COMMAND_H

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "parts/part_family.h"
#include "session/drawing_session.h"
#include "tools/cli_options.h"
#include "tools/search_recorder.h"

namespace twinfind::tool {

// The exit status of a run that finished with some of its lines refused.
inline constexpr int kSomeLinesRefused = 3;
// The exit status of a run whose outputs could not all be written.
inline constexpr int kOutputFailed = 1;

// One run of the command inside a session that may hold several.
struct Session {
  std::optional<std::string> drawing;  // the DXF file read first
  std::optional<std::string> out, svg, png, svgAtConfirm, report;
  bool grid = true;     // pictures carry the coordinate grid
  bool blocks = false;  // the drawing is saved with each search's twins as block references
  // The families saved as blocks instead of the run's searches (the survey's); nothing: the
  // searches.
  std::shared_ptr<const std::vector<parts::PartFamily>> families;
  session::OpenOptions open;  // the memory limit and chord tolerance the drawing is read with
  // The drawing: its file, the outputs claimed against it, its saves and part files (shared by
  // copies of the session). Made for `drawing` at the first use.
  mutable std::shared_ptr<session::DrawingSession> file;
  session::DrawingSession& File() const;
  // The searches of the run, for the report (shared by copies of the session).
  std::shared_ptr<SearchRecorder> searches = std::make_shared<SearchRecorder>();
  // The drawing as it was read, to tell whether it changed: taken after OpenSession by a run
  // that saves nothing, the only one that tells it.
  uint64_t digestAtLoad = 0;
};

// Checks the outputs before anything runs, so that a run never ends in an output that could
// never have been written: none is the input drawing or the file of another output, each could
// be written now (CheckWriteTarget: its folder exists and takes new files, no directory,
// device, FIFO, socket or read-only file stands there, no link another user may have planted
// leads there), the report's name says its format; claims them.
bool CheckOutputs(const Session& session, std::string& error);

// The import's memory limit: --memory-limit, else TWINFIND_MEMORY_LIMIT_MB, else none (the
// import's default); and its chord tolerance (--chord-tolerance). False, with the reason, when
// the limit given is no number of megabytes or the tolerance no number above 0.
// A run a signal ended with its changes unsaved: the drawing is kept beside its file (in the
// current folder for one started empty) at the first free NAME.rescue-N, and standard error
// names the file. False when it could not be kept.
bool RescueDrawing(const Session& session, int signal);

bool SetMemoryLimit(const Options& options, Session& session, std::string& error);

// Loads the plug-in and opens the drawing (OpenDrawing); false (the message printed) when
// either fails.
bool OpenSession(Session& session);

// Reads the session's drawing, if it names one, under the session's memory limit, and keeps it
// in the host for the command: prints the import's warnings and the line telling its extents,
// segments and layers; false (the message printed) when it cannot be read. The one way run,
// view and survey open a drawing.
bool OpenDrawing(Session& session);

struct ScriptResult {
  int lines = 0;    // lines that were actions
  int refused = 0;  // of them refused
};

// Starts the command and feeds it the lines of the stream, or of the source.
ScriptResult RunScript(const Session& session, std::istream& script);
ScriptResult RunScript(const Session& session,
                       const std::function<std::optional<std::string>()>& lines);

// Writes the requested outputs (drawing, pictures, report), each with a line saying what was
// written; false (the messages printed) when one could not be written. A drawing that cannot be
// written to --out after all (the disk filled, the file was made read-only meanwhile) is saved
// beside it as OUT.rescue-N (session/drawing_session.h), so that the session's work is not lost.
bool WriteOutputs(const Session& session);

// Saves the drawing as DXF (session/drawing_session.h), with `blocks` the twins of the families
// or searches as block references. `lines` gets the warnings and then the lines saying what was
// written; false and a reason when it could not be written (`lines` then says where it was
// rescued to, when `rescue` asked for it and that could be written).
bool SaveDrawing(const Session& session, const std::string& path, std::vector<std::string>& lines,
                 std::string& error, bool rescue = false);

// Writes a picture, SVG or PNG by the file's extension: the whole drawing, or a window of it
// zoomed in.
bool WritePicture(const std::string& path, bool grid, std::string& error,
                  const std::optional<VexBox>& window = std::nullopt);

int RunCommand(const Options& options);
int DemoCommand(const Options& options);

}  // namespace twinfind::tool

#endif  // TOOLS_RUN_COMMAND_H
