// The command line of twinfind: the sub-command, its options and the words after them, parsed
// with CLI11 (--opt VALUE and --opt=VALUE, -- before words that start with "-", --help and -h
// for the tool and each sub-command, --version).
#ifndef TOOLS_CLI_OPTIONS_H
#define TOOLS_CLI_OPTIONS_H

#include <optional>
#include <string>
#include <vector>

namespace twinfind::tool {

inline constexpr int kBadArguments = 2;

struct Options {
  std::string command;  // run, demo, view, survey or settings
  std::vector<std::string> positional;
  std::optional<std::string> script;
  std::optional<std::string> settings;
  std::optional<std::string> out;
  std::optional<std::string> svg;
  std::optional<std::string> png;
  std::optional<std::string> svgAtConfirm;
  std::optional<std::string> report;
  std::optional<std::string>
      memoryLimit;                       // megabytes the drawing's import may bring the process to
  std::optional<double> chordTolerance;  // splines and ellipses as lines this close to them
  bool noGrid = false;
  bool allFamilies = false;          // survey --all
  bool hiddenLayers = false;         // survey --hidden-layers
  std::optional<int> port;           // view: the loopback port (0 or none: a free one)
  std::optional<int> idleSeconds;    // view: stop after this long without a page's request
  std::vector<double> range;         // survey: X1 Y1 X2 Y2, or empty for the whole drawing
  bool blocks = false;               // run, survey: --out writes the twins as block references
  std::optional<std::string> split;  // survey: the folder of one DXF file per family
  bool splitHands = false;           // survey: mirror images in files of their own
  bool splitMillimetres = false;     // survey: the parts list in millimetres
  bool splitQuantities = false;      // survey: each part file's name tells its quantity
  bool splitSvg = false;             // survey: an SVG of each part and of the sheet
};

// Parses the whole command line into `options`. Nothing when the sub-command is to run; else
// the exit status, after the help or version was printed (0) or the error, a short usage line
// and a hint to --help (kBadArguments).
std::optional<int> ParseCommandLine(int argc, char** argv, Options& options);

// Prints the reason, the sub-command's usage line and the hint to --help on standard error; the
// bad-arguments exit status.
int BadArguments(const std::string& why, const std::string& command = "");

// Points the plug-in's settings at the file the user named (its folder must exist). Defined
// with the platform's settings location: settings_location_posix.cpp, settings_location_win32.cpp
// (where the settings live in the registry and a file is refused).
bool UseSettingsFile(const std::optional<std::string>& path, std::string& error);

}  // namespace twinfind::tool

#endif  // TOOLS_CLI_OPTIONS_H
