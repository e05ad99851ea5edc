// twinfind run and twinfind demo: a drawing, the command, the user's actions, the outputs.
#ifndef TOOLS_RUN_COMMAND_H
#define TOOLS_RUN_COMMAND_H

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dxf/dxf_source.h"
#include "tools/cli_options.h"

namespace twinfind::tool {

// One run of the command inside a session that may hold several.
struct Session {
  std::optional<std::string> drawing;  // the DXF file read first
  std::optional<std::string> out, svg, png, svgAtConfirm;
  // The file as read, which the drawing is saved back into.
  std::shared_ptr<const dxf::DxfSource> source;
};

// Checks the outputs before anything runs: their folders exist, none is the input drawing.
bool CheckOutputs(const Session& session, std::string& error);

// Loads the plug-in and reads the drawing (keeping the file in the session); false (the message
// printed) when either fails.
bool OpenSession(Session& session);

// Starts the command and feeds it the lines of the stream; the number of refused lines.
int RunScript(const Session& session, std::istream& script);

// Writes the requested outputs; false (the messages printed) when one could not be written. A
// drawing read from a file is saved back into that file's text with only its changes; a
// drawing started empty is written afresh. Either way one line says what was written.
bool WriteOutputs(const Session& session);

// Writes a picture, SVG or PNG by the file's extension.
bool WritePicture(const std::string& path, std::string& error);

int RunCommand(const Options& options);
int DemoCommand(const Options& options);

}  // namespace twinfind::tool

#endif  // TOOLS_RUN_COMMAND_H
