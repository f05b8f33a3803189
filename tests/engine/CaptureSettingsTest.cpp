#include <gtest/gtest.h>

#include "engine/RenameSettings.h"

namespace vt {
namespace {

TControlValues EveryFieldSet(int operation) {
  TControlValues c;
  c.LstBoxActions = operation;
  c.EdSearchFor = "s";
  c.EdReplaceWith = "r";
  c.ChkBxSearchRecursive = c.ChkBxCaseSensitive = c.ChkBxSearchInExt = true;
  c.EdInsert = "i";
  c.ComboInsertTo = ControlIndex(TPlacement::FromBeginning);
  c.UpDownInsertPos = 3;
  c.EdDelete = "d";
  c.ComboItemToDelete = ControlIndex(TRemoveKind::Characters);
  c.UpDownDeletePos = 4;
  c.UpDownNbrDelete = 5;
  c.ChkBxDelRecursive = c.ChkBxCaseSensDel = true;
  c.ComboDeleteFrom = ControlIndex(TRemoveFrom::OffsetFromEnd);
  c.ComboBaseFileName = "b";
  c.ChkBxUseBaseFilename = true;
  c.EdStartNumber = "007";
  c.UpDownStartNumber = 7;
  c.UpDownIncrement = 5;
  c.ChkBxUseLeadingZero = c.ChkBxDecrement = true;
  c.ComboNumberInsertTo = ControlIndex(TPlacement::FromEnd);
  c.UpDownNumberPos = 6;
  c.ComboChangeCase = ControlIndex(TCaseKind::Weird);
  c.ChkBxChangecaseWithExt = true;
  c.ComboTruncateTo = ControlIndex(TTruncateKind::MaxChars);
  c.UpDownNbrTruncate = 9;
  return c;
}

bool ReplaceEmpty(const TRenameSettings& s) {
  return s.ReplaceInfos.SearchFor.empty() && s.ReplaceInfos.ReplaceWith.empty() && !s.ReplaceInfos.Recursive &&
         !s.ReplaceInfos.CaseSensitive && !s.ReplaceInfos.TreatExtension;
}
bool InsertEmpty(const TRenameSettings& s) {
  return s.InsertInfos.Text.empty() && s.InsertInfos.InsertTo == TPlacement::ToEnd && s.InsertInfos.Position == 0;
}
bool DeleteEmpty(const TRenameSettings& s) {
  const auto& d = s.DeleteInfos;
  return d.Text.empty() && d.Kind == TRemoveKind::String && d.Position == 0 && d.Count == 0 && !d.Recursive &&
         !d.CaseSensitive && d.From == TRemoveFrom::Beginning;
}
bool NumberEmpty(const TRenameSettings& s) {
  const auto& n = s.NumberInfos;
  return n.BaseName.empty() && !n.UseBaseName && n.StartText.empty() && n.Width == 0 && !n.ZeroPad && n.Start == 0 &&
         n.Increment == 0 && !n.UseLeadingZero && !n.CountBackwards && n.InsertTo == TPlacement::ToEnd &&
         n.Position == 0 && s.Counter == 0;
}
bool CaseEmpty(const TRenameSettings& s) { return s.CaseKind == TCaseKind::Upper && !s.CaseWithExtension; }
bool TruncateEmpty(const TRenameSettings& s) { return s.TruncateKind == TTruncateKind::ShortName && s.MaxChars == 0; }

TEST(CaptureSettings, OnlyTheSelectedOperation) {
  using Check = bool (*)(const TRenameSettings&);
  const Check empty[] = {ReplaceEmpty, InsertEmpty, DeleteEmpty, NumberEmpty, CaseEmpty, TruncateEmpty};
  for (int op = 0; op < 6; ++op) {
    const TRenameSettings s = CaptureSettings(EveryFieldSet(op));
    EXPECT_EQ(s.Operation, FromControlIndex<TOperation>(op));
    for (int other = 0; other < 6; ++other) {
      EXPECT_EQ(empty[other](s), other != op) << "operation " << op << ", record " << other;
    }
  }
}

TEST(CaptureSettings, CopiesEachRecord) {
  const auto r = CaptureSettings(EveryFieldSet(0)).ReplaceInfos;
  EXPECT_EQ(r.SearchFor, "s");
  EXPECT_EQ(r.ReplaceWith, "r");
  EXPECT_TRUE(r.Recursive && r.CaseSensitive && r.TreatExtension);
  const auto i = CaptureSettings(EveryFieldSet(1)).InsertInfos;
  EXPECT_EQ(i.Text, "i");
  EXPECT_EQ(i.InsertTo, TPlacement::FromBeginning);
  EXPECT_EQ(i.Position, 3);
  const auto d = CaptureSettings(EveryFieldSet(2)).DeleteInfos;
  EXPECT_EQ(d.Text, "d");
  EXPECT_EQ(d.Kind, TRemoveKind::Characters);
  EXPECT_EQ(d.Position, 4);
  EXPECT_EQ(d.Count, 5);
  EXPECT_TRUE(d.Recursive && d.CaseSensitive);
  EXPECT_EQ(d.From, TRemoveFrom::OffsetFromEnd);
  const auto s = CaptureSettings(EveryFieldSet(3));
  const auto& n = s.NumberInfos;
  EXPECT_EQ(n.BaseName, "b");
  EXPECT_TRUE(n.UseBaseName);
  EXPECT_EQ(n.StartText, "007");
  EXPECT_EQ(n.Width, 3);
  EXPECT_TRUE(n.ZeroPad);
  EXPECT_EQ(n.Start, 7);
  EXPECT_EQ(s.Counter, 7);
  EXPECT_EQ(n.Increment, 5);
  EXPECT_TRUE(n.UseLeadingZero && n.CountBackwards);
  EXPECT_EQ(n.InsertTo, TPlacement::FromEnd);
  EXPECT_EQ(n.Position, 6);
  const auto c = CaptureSettings(EveryFieldSet(4));
  EXPECT_EQ(c.CaseKind, TCaseKind::Weird);
  EXPECT_TRUE(c.CaseWithExtension);
  const auto t = CaptureSettings(EveryFieldSet(5));
  EXPECT_EQ(t.TruncateKind, TTruncateKind::MaxChars);
  EXPECT_EQ(t.MaxChars, 9);
}

TEST(CaptureSettings, StartText) {
  struct Case {
    const char* text;
    int width;
    bool zeroPad;
  } const cases[] = {{"007", 3, true}, {"7", 1, false}, {"70", 2, false}, {"0", 1, true}, {"", 0, false}};
  for (const auto& c : cases) {
    TControlValues controls;
    controls.LstBoxActions = ControlIndex(TOperation::Number);
    controls.EdStartNumber = c.text;
    const auto n = CaptureSettings(controls).NumberInfos;
    EXPECT_EQ(n.Width, c.width) << c.text;
    EXPECT_EQ(n.ZeroPad, c.zeroPad) << c.text;
  }
}

TEST(CaptureSettings, DefaultsAndNoSelection) {
  const TControlValues defaults;
  const auto n = CaptureSettings([] {
                   TControlValues c;
                   c.LstBoxActions = ControlIndex(TOperation::Number);
                   return c;
                 }())
                     .NumberInfos;
  EXPECT_EQ(n.StartText, "0");
  EXPECT_EQ(n.Width, 1);
  EXPECT_TRUE(n.ZeroPad);
  EXPECT_EQ(n.Increment, 1);
  EXPECT_EQ(n.Position, 1);
  EXPECT_EQ(CaptureSettings(defaults).Operation, TOperation::SearchReplace);
  // No operation selected: nothing is captured.
  TControlValues none = EveryFieldSet(-1);
  const auto s = CaptureSettings(none);
  EXPECT_TRUE(ReplaceEmpty(s) && InsertEmpty(s) && DeleteEmpty(s) && NumberEmpty(s) && CaseEmpty(s) &&
              TruncateEmpty(s));
  // An empty drop-down selection arrives as 255.
  TControlValues unselected = EveryFieldSet(1);
  unselected.ComboInsertTo = -1;
  EXPECT_EQ(static_cast<int>(CaptureSettings(unselected).InsertInfos.InsertTo), 255);
}

}  // namespace
}  // namespace vt
