#pragma once
// The order the files are treated and numbered in, and whether it is turned
// round, as the user last chose them in the window, kept in the user's
// configuration (~/.config/veltrane/veltrane.conf) with the preview switch.
// By name, not turned round, until chosen otherwise.
#include "passes/FileOrder.h"

namespace vt {

struct TOrderChoice {
  TFileOrder Order = TFileOrder::Name;
  TOrderDirection Direction = TOrderDirection::Ascending;
};

TOrderChoice RememberedOrder();
void RememberOrder(const TOrderChoice& choice);

}  // namespace vt
