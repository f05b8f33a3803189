#pragma once
// How a path is written: its separator, and a folder's path with or without one at its end.
#include <string>

namespace vt {

inline constexpr char PathSeparator = '/';

// "/a/b" and "/a/b/" give "/a/b/"; an empty path gives "/".
inline std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != PathSeparator) path += PathSeparator;
  return path;
}

// "/a/b//" and "/a/b" give "/a/b"; "/" stays.
inline std::string WithoutSlash(std::string path) {
  while (path.size() > 1 && path.back() == PathSeparator) path.pop_back();
  return path;
}

}  // namespace vt
