#pragma once
// Malformed result streams: each must fail as a whole with 61187.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "../support/TableWithLayout.h"
#include "passes/ResultTable.h"

namespace vt::test {

struct TMalformedStream {
  const char* Kind;
  std::string Bytes;
  bool ReachedMarker;  // a Width record of 700 before the fault was applied
  std::size_t Rows = 0;
  // What else the reader applied before the fault, when a case says more.
  std::function<bool(const TTableWithLayout&)> Holds = nullptr;
};

std::vector<TMalformedStream> MalformedStreams();

}  // namespace vt::test
