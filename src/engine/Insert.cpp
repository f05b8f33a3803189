#include "engine/Insert.h"

#include "engine/Placement.h"

namespace vt {

TStepResult InsertStep(const TInsertInfos& infos, std::string& name) {
  if (infos.Text.empty()) return TStepResult::NoParameters;
  PlaceText(infos.Text, name, infos.InsertTo, infos.Position);
  return TStepResult::Proceed;
}

}  // namespace vt
