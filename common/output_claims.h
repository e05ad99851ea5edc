// The files one run writes (a run of the tool, or the saves of one drawing opened from Python).
// Each output is claimed before it is written; a claim is refused when the file is the input
// drawing, by whatever path it is named (a hard or symbolic link, "./"), or the file of another
// output of the run.
#ifndef COMMON_OUTPUT_CLAIMS_H
#define COMMON_OUTPUT_CLAIMS_H

#include <optional>
#include <string>
#include <vector>

namespace twinfind {

// True when the two names lead to one file: the same file when both exist, else the same path
// once links, "." and ".." are resolved.
bool SameFile(const std::string& a, const std::string& b);

class OutputClaims {
 public:
  void SetInput(std::optional<std::string> input) { input_ = std::move(input); }

  // `owner` names the output ("--out", "snapshot", ...). A file may be claimed again by the
  // same owner (a later snapshot replaces an earlier one of the same name), never by another.
  // False and a reason when the file is not free for it.
  bool Claim(const std::string& path, const std::string& owner, std::string& error);

 private:
  struct Claimed {
    std::string path;
    std::string owner;
  };
  std::optional<std::string> input_;
  std::vector<Claimed> claimed_;
};

}  // namespace twinfind

#endif  // COMMON_OUTPUT_CLAIMS_H
