#include "common/output_claims.h"

#include <filesystem>

namespace twinfind {
namespace fs = std::filesystem;

namespace {

// The path a name leads to: absolute, links followed as far as they go (also a link to a file
// not made yet), "." and ".." resolved.
fs::path Resolved(const std::string& name) {
  std::error_code ec;
  fs::path path = fs::absolute(name, ec);
  for (int hops = 0; hops < 40 && fs::is_symlink(path, ec); ++hops) {
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  const fs::path canonical = fs::weakly_canonical(path, ec);
  return ec ? path.lexically_normal() : canonical;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec) && !ec;
  return Resolved(a) == Resolved(b);
}

bool OutputClaims::Claim(const std::string& path, const std::string& owner, std::string& error) {
  if (input_ && SameFile(path, *input_)) {
    error = "the output " + path + " is the input drawing; it is never written over";
    return false;
  }
  for (const Claimed& claimed : claimed_) {
    if (!SameFile(path, claimed.path)) continue;
    if (claimed.owner == owner) return true;
    error = "the output " + path + " is already the file of " + claimed.owner +
            (claimed.path == path ? "" : " (" + claimed.path + ")") +
            "; each file is written by one output of a run";
    return false;
  }
  claimed_.push_back({path, owner});
  return true;
}

}  // namespace twinfind
