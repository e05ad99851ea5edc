// What ezdxf finds changed between a DXF file and the file twinfind saved of it
// (tests/dxf/ezdxf_compare.py, run with Debian's python3 and its ezdxf).
#ifndef TESTS_DXF_EZDXF_COMPARISON_H
#define TESTS_DXF_EZDXF_COMPARISON_H

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace dxftest {

struct Comparison {
  int errors = -1, fixes = -1;            // of the output's audit
  int inputErrors = -1, inputFixes = -1;  // of the input's
  std::string versionIn, versionOut;
  std::map<std::string, int> kept;   // layout (spaces as _) -> entities kept
  std::map<std::string, int> total;  // layout -> entities of the input
  bool sameOrder = true;             // in every layout
  // The lines of the report without their mark: "LAYOUT HANDLE TYPE ..."; layer and block
  // lines whole.
  std::vector<std::string> removed, added, changed, tables;
  std::string output;  // everything the script said
};

inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

inline Comparison CompareWithEzdxf(const std::string& input, const std::string& output,
                                   bool byOrder = false) {
  Comparison c;
  const std::string command = std::string("/usr/bin/python3 ") + TWINFIND_EZDXF_COMPARE + " " +
                              (byOrder ? "--by-order " : "") + Quoted(input) + " " +
                              Quoted(output) + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
  if (!pipe) return c;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) c.output.append(buffer, n);
  std::istringstream lines(c.output);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    const std::string rest = line.size() > first.size() + 1 ? line.substr(first.size() + 1) : "";
    if (first == "audit") {
      words >> c.errors >> c.fixes >> c.inputErrors >> c.inputFixes;
    } else if (first == "version") {
      words >> c.versionIn >> c.versionOut;
    } else if (first == "layout") {
      std::string name, keptWord, ofWord, orderWord, order;
      int kept = 0, total = 0;
      words >> name >> keptWord >> kept >> ofWord >> total >> orderWord >> order;
      c.kept[name] = kept;
      c.total[name] = total;
      c.sameOrder = c.sameOrder && order == "same";
    } else if (first == "-") {
      c.removed.push_back(rest);
    } else if (first == "+") {
      c.added.push_back(rest);
    } else if (first == "~") {
      c.changed.push_back(rest);
    } else if (first.rfind("layer", 0) == 0 || first.rfind("block", 0) == 0) {
      c.tables.push_back(line);
    } else {
      ADD_FAILURE() << "ezdxf_compare.py (needs /usr/bin/python3 with python3-ezdxf) said:\n"
                    << c.output.substr(0, 2000);
      break;
    }
  }
  return c;
}

}  // namespace dxftest

#endif  // TESTS_DXF_EZDXF_COMPARISON_H
