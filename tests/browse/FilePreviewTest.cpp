// The preview's rows as the file list's model gives them: the new name and the
// mark by role, and in words as tooltip and accessible text.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "browse/FileNameModel.h"
#include "browse/FilePreview.h"

namespace vt {
namespace {

struct TRow {
  const char* NewName;
  TPreviewMark Mark;
  const char* Tip;
};

TFilePreview PreviewOf(const std::vector<TRow>& rows) {
  TFilePreview preview;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    preview.Add(rows[i].NewName, rows[i].Mark);
    if (*rows[i].Tip != '\0') preview.Tips.insert(int(i), rows[i].Tip);
  }
  return preview;
}

TEST(FilePreview, KeepsEachRowsNewNameAndMarkButNoNameForOneThatStays) {
  const std::vector<TRow> rows = {
      {"", TPreviewMark::Same, ""},        {"Rome 1.jpg", TPreviewMark::Renamed, ""},
      {"ignored", TPreviewMark::Same, ""}, {"Rome 1.jpg", TPreviewMark::Clash, ""},
      {"", TPreviewMark::Refused, ""},     {"\xC3\xA9t\xC3\xA9", TPreviewMark::Renamed, ""}};
  const TFilePreview preview = PreviewOf(rows);
  ASSERT_EQ(preview.Size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(preview.Mark(i), rows[i].Mark) << i;
    EXPECT_EQ(preview.NewName(i), rows[i].Mark == TPreviewMark::Same ? "" : rows[i].NewName) << i;
  }
}

class PreviewModel : public testing::Test {
 protected:
  PreviewModel() { Model_.SetNames({"a.jpg", "b.jpg", "c.jpg"}); }
  QVariant At(int row, int role) const { return Model_.index(row).data(role); }
  TFileNameModel Model_;
};

TEST_F(PreviewModel, GivesTheNewNameTheMarkAndTheirWordsByRole) {
  Model_.SetPreview(std::make_shared<const TFilePreview>(
      PreviewOf({{"", TPreviewMark::Same, ""},
                 {"x.jpg", TPreviewMark::Renamed, ""},
                 {"x.jpg", TPreviewMark::Clash, "\u201Cx.jpg\u201D is also the new name of \u201Cb.jpg\u201D"}})));
  const struct {
    int Row;
    QVariant NewName, Mark, Tip, Spoken;
  } cases[] = {
      {0, {}, int(TPreviewMark::Same), {}, "a.jpg"},
      {1, "x.jpg", int(TPreviewMark::Renamed), "b.jpg \u2192 x.jpg", "b.jpg \u2192 x.jpg"},
      {2, "x.jpg", int(TPreviewMark::Clash),
       "c.jpg \u2192 x.jpg\n\u201Cx.jpg\u201D is also the new name of \u201Cb.jpg\u201D",
       "c.jpg \u2192 x.jpg\n\u201Cx.jpg\u201D is also the new name of \u201Cb.jpg\u201D"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(At(c.Row, Qt::DisplayRole).toString(), QStringLiteral("abc").mid(c.Row, 1) + ".jpg") << c.Row;
    EXPECT_EQ(At(c.Row, kNewNameRole), c.NewName) << c.Row;
    EXPECT_EQ(At(c.Row, kPreviewMarkRole), c.Mark) << c.Row;
    EXPECT_EQ(At(c.Row, Qt::ToolTipRole), c.Tip) << c.Row;
    EXPECT_EQ(At(c.Row, Qt::AccessibleTextRole), c.Spoken) << c.Row;
  }
}

TEST_F(PreviewModel, TheRowsInViewComeFirstAndTheWholeListReplacesThem) {
  Model_.SetPreviewInView(1, PreviewOf({{"y.jpg", TPreviewMark::Renamed, ""}}));
  EXPECT_FALSE(At(0, kPreviewMarkRole).isValid());
  EXPECT_EQ(At(1, kNewNameRole), "y.jpg");
  EXPECT_FALSE(At(2, kPreviewMarkRole).isValid());
  Model_.SetPreview(std::make_shared<const TFilePreview>(PreviewOf(
      {{"p.jpg", TPreviewMark::Renamed, ""}, {"", TPreviewMark::Same, ""}, {"q.jpg", TPreviewMark::Renamed, ""}})));
  EXPECT_EQ(At(0, kNewNameRole), "p.jpg");
  EXPECT_FALSE(At(1, kNewNameRole).isValid());
  EXPECT_EQ(At(2, kNewNameRole), "q.jpg");
}

TEST_F(PreviewModel, APreviewOfOtherNamesIsNeverShown) {
  // Of a list of two: the names changed since it was asked for.
  Model_.SetPreview(std::make_shared<const TFilePreview>(
      PreviewOf({{"p.jpg", TPreviewMark::Renamed, ""}, {"q.jpg", TPreviewMark::Renamed, ""}})));
  EXPECT_FALSE(Model_.HasPreview());
  Model_.SetPreviewInView(0, PreviewOf({{"p.jpg", TPreviewMark::Renamed, ""}}));
  EXPECT_TRUE(Model_.HasPreview());
  Model_.SetNames({"a.jpg"});
  EXPECT_FALSE(Model_.HasPreview());
  EXPECT_FALSE(At(0, kNewNameRole).isValid());
}

TEST_F(PreviewModel, NamesAReaderStillHoldsAreNotGivenBackToFree) {
  const auto shared = Model_.SharedNames();
  EXPECT_TRUE(Model_.SetNames({"d.jpg"}).empty());
  EXPECT_EQ(shared->size(), 3u);
  EXPECT_EQ(Model_.SetNames({}), std::vector<std::string>{"d.jpg"});
}

}  // namespace
}  // namespace vt
