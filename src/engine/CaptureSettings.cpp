#include <algorithm>
#include <cstdint>
#include <limits>

#include "engine/RenameSettings.h"
#include "engine/Utf8.h"

namespace vt {
namespace {

std::int16_t Int16(int value) {
  return static_cast<std::int16_t>(
      std::clamp<int>(value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

TNumberInfos CaptureNumber(const TControlValues& c) {
  TNumberInfos n;
  n.BaseName = c.ComboBaseFileName;
  n.UseBaseName = c.ChkBxUseBaseFilename;
  n.StartText = c.EdStartNumber;
  n.Width = Int16(static_cast<int>(std::min<std::size_t>(CharCount(c.EdStartNumber), 32767)));
  n.ZeroPad = c.EdStartNumber.find('0') == 0;
  n.Start = Int16(c.UpDownStartNumber);
  n.Increment = c.UpDownIncrement;
  n.UseLeadingZero = c.ChkBxUseLeadingZero;
  n.CountBackwards = c.ChkBxDecrement;
  n.InsertTo = FromControlIndex<TPlacement>(c.ComboNumberInsertTo);
  n.Position = Int16(c.UpDownNumberPos);
  return n;
}

}  // namespace

TRenameSettings CaptureSettings(const TControlValues& c) {
  TRenameSettings s;
  if (c.LstBoxActions < 0) return s;
  s.Operation = FromControlIndex<TOperation>(c.LstBoxActions);
  switch (s.Operation) {
    case TOperation::SearchReplace:
      s.ReplaceInfos = {c.EdSearchFor,        c.EdReplaceWith,    c.ChkBxSearchRecursive,
                        c.ChkBxCaseSensitive, c.ChkBxSearchInExt, c.ChkBxRegex};
      break;
    case TOperation::Insert:
      s.InsertInfos = {c.EdInsert, FromControlIndex<TPlacement>(c.ComboInsertTo), Int16(c.UpDownInsertPos)};
      s.UseFields = c.ChkBxUseFields;
      break;
    case TOperation::Remove:
      s.DeleteInfos = {c.EdDelete,
                       FromControlIndex<TRemoveKind>(c.ComboItemToDelete),
                       Int16(c.UpDownDeletePos),
                       Int16(c.UpDownNbrDelete),
                       c.ChkBxDelRecursive,
                       c.ChkBxCaseSensDel,
                       FromControlIndex<TRemoveFrom>(c.ComboDeleteFrom)};
      break;
    case TOperation::Number:
      s.NumberInfos = CaptureNumber(c);
      s.Counter = s.NumberInfos.Start;
      s.UseFields = c.ChkBxUseFields;
      break;
    case TOperation::ChangeCase:
      s.CaseKind = FromControlIndex<TCaseKind>(c.ComboChangeCase);
      s.CaseWithExtension = c.ChkBxChangecaseWithExt;
      s.CaseExtensionOnly = c.ChkBxChangecaseExtOnly;
      break;
    case TOperation::Truncate:
      s.TruncateKind = FromControlIndex<TTruncateKind>(c.ComboTruncateTo);
      s.MaxChars = Int16(c.UpDownNbrTruncate);
      break;
  }
  return s;
}

}  // namespace vt
