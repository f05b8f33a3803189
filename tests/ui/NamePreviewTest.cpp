// The file list's preview against a Simulate with the same settings: the same
// new names, the same clashes and refusals, whatever the operation and options.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStackedWidget>
#include <QStatusBar>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>

#include "UiTestApp.h"
#include "browse/FileListBox.h"
#include "browse/FileNameModel.h"
#include "browse/FilterDirectoryListBox.h"
#include "engine/RenameStatus.h"
#include "passes/MediaFiles.h"
#include "passes/RowQueue.h"
#include "passes/SearchThread.h"
#include "passes/SimulationClashes.h"
#include "support/TempFolder.h"
#include "ui/ControlPage.h"
#include "ui/NamePreview.h"
#include "ui/PreviewSwitch.h"

namespace vt {
namespace {

using test::Named;
using test::WaitUntil;

struct TSeen {
  std::string NewName;  // empty for a name that stays
  TPreviewMark Mark = TPreviewMark::Same;
  bool operator==(const TSeen&) const = default;
};
void PrintTo(const TSeen& seen, std::ostream* out) { *out << '{' << seen.NewName << ' ' << int(seen.Mark) << '}'; }

// What a Simulate's rows say of each file: the pass and the clash check the command line uses.
std::map<std::string, TSeen> Simulated(const TSearchPassOptions& options, const TRenameSettings& settings) {
  TRowQueue queue;
  const std::atomic<bool> recordAll{false};
  {
    TSearchThread pass(queue, options, settings, TPassMode::Simulate, recordAll);
    pass.Execute();
  }
  queue.End();
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  while (!queue.Take(rows, unreadable)) {
  }
  TClashCheck clashes;
  std::vector<std::size_t> renamed;
  std::map<std::string, TSeen> seen;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TPassRow& row = rows[i];
    if (row.Status == TRenameStatus::rsCanBeRenamed) {
      clashes.Add(*row.Folder, row.OldName, row.NewName);
      renamed.push_back(i);
      seen[row.OldName] = {row.NewName, TPreviewMark::Renamed};
    } else if (row.Status == TRenameStatus::rsError) {
      seen[row.OldName] = {row.NewName, TPreviewMark::Refused};
    }
  }
  for (const TRowClash& clash : clashes.FindRows())
    seen[std::string(clashes.OldName(clash.Row))].Mark = TPreviewMark::Clash;
  return seen;
}

// What the list shows of each of its names, through its model's roles.
std::map<std::string, TSeen> Shown(const TFileListBox& list) {
  std::map<std::string, TSeen> shown;
  const QAbstractItemModel& model = *list.model();
  for (int row = 0; row < model.rowCount(); ++row) {
    const QModelIndex index = model.index(row, 0);
    const QVariant mark = index.data(kPreviewMarkRole);
    if (!mark.isValid() || TPreviewMark(mark.toInt()) == TPreviewMark::Same) continue;
    const std::string name = index.data().toString().toStdString();
    shown[name] = {index.data(kNewNameRole).toString().toStdString(), TPreviewMark(mark.toInt())};
    // The eye's reading is the screen reader's: old and new name, and why for a mark.
    const QString spoken = index.data(Qt::AccessibleTextRole).toString();
    EXPECT_TRUE(
        spoken.startsWith(index.data().toString() + QStringLiteral(" \u2192 ") + index.data(kNewNameRole).toString()))
        << name;
    EXPECT_EQ(spoken.contains('\n'), TPreviewMark(mark.toInt()) != TPreviewMark::Renamed) << name;
  }
  return shown;
}

class NamePreview : public testing::Test {
 protected:
  NamePreview() {
    for (const char* name : {"IMG_0001.jpg", "IMG_0002.JPG", "img_0003.png", "Rome 2025 - 0002.JPG", "b.txt", "a b.txt",
                             "noext", "x.tar.gz", "Zebra.TXT"})
      Folder_.WriteFile(name);
    Folder_.MakeFolder("sub");
    Folder_.WriteFile("sub/IMG_0009.jpg");
    // Numbers that natural order sorts otherwise, sizes and dates of their own:
    // each order puts the files in another sequence than by name.
    Folder_.WriteFile("IMG_2.jpg", "xxxx");
    Folder_.WriteFile("IMG_10.jpg", "xx");
    test::WriteJpeg(Folder_.File("IMG_0100.jpg"), {"2025:06:14 10:11:12", "Canon", "EOS", 1, 1, {}});
    test::WriteJpeg(Folder_.File("IMG_0200.jpg"), {"2024:01:02 03:04:05", "Canon", "EOS", 1, 1, {}});
    const auto now = std::filesystem::file_time_type::clock::now();
    int minutes = 0;
    for (const char* name : {"b.txt", "IMG_10.jpg", "noext", "IMG_0001.jpg", "Zebra.TXT"})
      std::filesystem::last_write_time(Folder_.File(name), now - std::chrono::minutes(++minutes));
    RememberPreview(true);
  }

  // The page at the folder, shown so that its list fills, with its settings set.
  void Open(TControlPage& page, const std::function<void(TControlPage&)>& set) {
    page.show();
    Named<TFilterDirectoryListBox>(page, "FilterDirectoryListBox1")->SetFolder(Folder_.Path().string());
    set(page);
    auto* list = Named<TFileListBox>(page, "FileListBox1");
    ASSERT_TRUE(WaitUntil([&] { return !list->FillPending() && list->count() > 0 && page.PreviewSettled(); }));
  }

  test::TTempFolder Folder_;
};

void Text(TControlPage& page, const char* field, const char* text) { Named<QLineEdit>(page, field)->setText(text); }
void Tick(TControlPage& page, const char* box) { Named<QCheckBox>(page, box)->setChecked(true); }
void Choose(TControlPage& page, const char* combo, int item) { Named<QComboBox>(page, combo)->setCurrentIndex(item); }
void Operation(TControlPage& page, int row) { Named<QListWidget>(page, "LstBoxActions")->setCurrentRow(row); }

TEST_F(NamePreview, ShowsWhatASimulateGivesForEveryOperationAndOption) {
  const struct {
    const char* Case;
    std::function<void(TControlPage&)> Set;
  } cases[] = {
      {"replace, case",
       [](TControlPage& p) {
         Text(p, "EdSearchFor", "IMG_"), Text(p, "EdReplaceWith", "Rome 2025 - "), Tick(p, "ChkBxCaseSensitive");
       }},
      {"replace, any case",
       [](TControlPage& p) { Text(p, "EdSearchFor", "IMG_"), Text(p, "EdReplaceWith", "Rome 2025 - "); }},
      {"replace in the extension",
       [](TControlPage& p) {
         Text(p, "EdSearchFor", "*.jpg"), Text(p, "EdReplaceWith", "*.jpeg"), Tick(p, "ChkBxSearchInExt");
       }},
      {"replace every",
       [](TControlPage& p) {
         Text(p, "EdSearchFor", "0"), Text(p, "EdReplaceWith", "o"), Tick(p, "ChkBxSearchRecursive");
       }},
      {"insert at the start", [](TControlPage& p) { Operation(p, 1), Text(p, "EdInsert", "new "); }},
      {"insert at a place",
       [](TControlPage& p) {
         Operation(p, 1), Text(p, "EdInsert", "-"), Choose(p, "ComboInsertTo", 2), Text(p, "EdInsertPos", "3");
       }},
      {"remove a text", [](TControlPage& p) { Operation(p, 2), Text(p, "EdDelete", "_000"); }},
      {"remove by place",
       [](TControlPage& p) {
         Operation(p, 2), Choose(p, "ComboItemToDelete", 1), Text(p, "EdDeletePos", "1"), Text(p, "EdNbrDelete", "4");
       }},
      {"number", [](TControlPage& p) { Operation(p, 3), Text(p, "EdStartNumber", "7"); }},
      {"number one base name",
       [](TControlPage& p) {
         Operation(p, 3), Tick(p, "ChkBxUseBaseFilename"),
             Named<QComboBox>(p, "ComboBaseFileName")->setEditText("Photo "), Text(p, "EdStartNumber", "01"),
             Tick(p, "ChkBxDecrement");
       }},
      {"upper case", [](TControlPage& p) { Operation(p, 4), Choose(p, "ComboChangeCase", 0); }},
      {"lower case, not the extension",
       [](TControlPage& p) {
         Operation(p, 4), Choose(p, "ComboChangeCase", 1),
             Named<QCheckBox>(p, "ChkBxChangecaseWithExt")->setChecked(false);
       }},
      {"truncate",
       [](TControlPage& p) { Operation(p, 5), Choose(p, "ComboTruncateTo", 1), Text(p, "EdNbrTruncate", "4"); }},
      {"a whole name replaced by nothing", [](TControlPage& p) { Text(p, "EdSearchFor", "noext"); }},
      {"regex",
       [](TControlPage& p) {
         Tick(p, "ChkBxRegex"), Text(p, "EdSearchFor", R"(IMG_(\d+))"), Text(p, "EdReplaceWith", "Rome 2025 - $1");
       }},
      {"regex, every match, in the extension",
       [](TControlPage& p) {
         Tick(p, "ChkBxRegex"), Tick(p, "ChkBxSearchRecursive"), Tick(p, "ChkBxSearchInExt"),
             Text(p, "EdSearchFor", "[aeiou]"), Text(p, "EdReplaceWith", "_");
       }},
      {"number, name order turned round", [](TControlPage& p) { Operation(p, 3), Tick(p, "ChkBxReverse"); }},
      {"number, natural order", [](TControlPage& p) { Operation(p, 3), Choose(p, "ComboOrder", 1); }},
      {"number, date modified", [](TControlPage& p) { Operation(p, 3), Choose(p, "ComboOrder", 2); }},
      {"number, date taken", [](TControlPage& p) { Operation(p, 3), Choose(p, "ComboOrder", 3); }},
      {"number, size turned round",
       [](TControlPage& p) { Operation(p, 3), Choose(p, "ComboOrder", 4), Tick(p, "ChkBxReverse"); }},
      {"number with a base name, natural order turned round",
       [](TControlPage& p) {
         Operation(p, 3), Tick(p, "ChkBxUseBaseFilename"),
             Named<QComboBox>(p, "ComboBaseFileName")->setEditText("Photo "), Choose(p, "ComboOrder", 1),
             Tick(p, "ChkBxReverse");
       }},
  };
  bool clashed = false;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TControlPage page;
    Open(page, c.Set);
    auto* list = Named<TFileListBox>(page, "FileListBox1");
    const std::map<std::string, TSeen> expected = Simulated(page.PassOptions(), page.Settings());
    EXPECT_EQ(Shown(*list), expected);
    // The rows in view, before the whole list: the same names, the clashes still to come.
    std::map<std::string, TSeen> quick;
    const TFilePreview inView = PreviewInView(list->NameModel().Names(), 0, list->count() - 1, page.Settings());
    for (int row = 0; row < list->count(); ++row)
      if (inView.Mark(std::size_t(row)) != TPreviewMark::Same)
        quick[list->NameModel().Names()[std::size_t(row)]] = {std::string(inView.NewName(std::size_t(row))),
                                                              inView.Mark(std::size_t(row))};
    std::map<std::string, TSeen> unmarked = expected;
    for (auto& [name, seen] : unmarked) {
      clashed = clashed || seen.Mark == TPreviewMark::Clash;
      if (seen.Mark == TPreviewMark::Clash) seen.Mark = TPreviewMark::Renamed;
    }
    EXPECT_EQ(quick, unmarked);
  }
  EXPECT_TRUE(clashed) << "no case clashed: the marks went untested";
}

TEST_F(NamePreview, AClashSaysWhyAsTheResultTableDoes) {
  TControlPage page;
  Open(page, [](TControlPage& p) {
    Text(p, "EdSearchFor", "IMG_");
    Text(p, "EdReplaceWith", "Rome 2025 - ");
  });
  const QAbstractItemModel& model = *Named<TFileListBox>(page, "FileListBox1")->model();
  std::map<std::string, std::string> tips;
  for (int row = 0; row < model.rowCount(); ++row)
    tips[model.index(row, 0).data().toString().toStdString()] =
        model.index(row, 0).data(Qt::ToolTipRole).toString().toStdString();
  EXPECT_EQ(tips["IMG_0002.JPG"],
            "IMG_0002.JPG \u2192 Rome 2025 - 0002.JPG\n\u201CRome 2025 - 0002.JPG\u201D exists already in this folder");
  EXPECT_EQ(tips["IMG_0001.jpg"], "IMG_0001.jpg \u2192 Rome 2025 - 0001.jpg");
  EXPECT_EQ(tips["b.txt"], "");
}

// With "Let renames make room for each other" a shift and a swap are renamed
// without a clash, as a Simulate with the option has them; without it the
// renames that wait for each other clash.
TEST(NamePreviewChains, ShiftsAndSwapsClashOnlyWithoutTheOption) {
  struct Case {
    const char* Shape;
    bool Backwards;  // ChkBxDecrement: the numbers count down
    const char* Start;
    bool Chains;
    std::map<std::string, TSeen> Shown;
  };
  const TPreviewMark ok = TPreviewMark::Renamed, clash = TPreviewMark::Clash;
  const std::vector<Case> cases{
      {"shift", false, "2", true, {{"1.txt", {"2.txt", ok}}, {"2.txt", {"3.txt", ok}}, {"3.txt", {"4.txt", ok}}}},
      {"shift",
       false,
       "2",
       false,
       {{"1.txt", {"2.txt", clash}}, {"2.txt", {"3.txt", clash}}, {"3.txt", {"4.txt", ok}}}},
      {"swap",
       true,
       "3",
       true,
       {{"1.txt", {"3.txt", ok}}, {"2.txt", {"2.txt", TPreviewMark::Same}}, {"3.txt", {"1.txt", ok}}}},
      {"swap", true, "3", false, {{"1.txt", {"3.txt", clash}}, {"3.txt", {"1.txt", clash}}}},
  };
  RememberPreview(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Shape) + (c.Chains ? " with chains" : ""));
    test::TTempFolder folder;
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) folder.WriteFile(name);
    TControlPage page;
    page.show();
    Named<TFilterDirectoryListBox>(page, "FilterDirectoryListBox1")->SetFolder(folder.Path().string());
    Operation(page, 3);
    Text(page, "EdStartNumber", c.Start);
    Named<QCheckBox>(page, "ChkBxDecrement")->setChecked(c.Backwards);
    Named<QAction>(page, "ChainsItem")->setChecked(c.Chains);
    auto* list = Named<TFileListBox>(page, "FileListBox1");
    ASSERT_TRUE(WaitUntil([&] { return !list->FillPending() && list->count() == 3 && page.PreviewSettled(); }));
    std::map<std::string, TSeen> expected = c.Shown;
    std::erase_if(expected, [](const auto& seen) { return seen.second.Mark == TPreviewMark::Same; });
    EXPECT_EQ(Shown(*list), expected);
  }
}

// The listing kept from keystroke to keystroke goes with the list's names: a
// file that turned up since is there once the list is read anew.
TEST_F(NamePreview, AListReadAnewIsPreviewedAnew) {
  TControlPage page;
  Open(page, [](TControlPage& p) {
    Text(p, "EdSearchFor", "IMG_");
    Text(p, "EdReplaceWith", "Rome 2025 - ");
  });
  auto* list = Named<TFileListBox>(page, "FileListBox1");
  const auto tipOf = [list](const char* name) {
    const QAbstractItemModel& model = *list->model();
    const QModelIndexList found = model.match(model.index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    return found.isEmpty() ? QString() : found[0].data(Qt::ToolTipRole).toString();
  };
  EXPECT_EQ(tipOf("IMG_0001.jpg"), "IMG_0001.jpg \u2192 Rome 2025 - 0001.jpg");
  Folder_.WriteFile("Rome 2025 - 0001.jpg");
  Folder_.WriteFile("IMG_0003.jpg");
  page.RefreshFileList();
  ASSERT_TRUE(WaitUntil([&] { return !list->FillPending() && page.PreviewSettled(); }));
  EXPECT_EQ(tipOf("IMG_0001.jpg"),
            "IMG_0001.jpg \u2192 Rome 2025 - 0001.jpg\n\u201CRome 2025 - 0001.jpg\u201D exists already in this folder");
  EXPECT_EQ(tipOf("IMG_0003.jpg"), "IMG_0003.jpg \u2192 Rome 2025 - 0003.jpg");
}

TEST_F(NamePreview, SettingsThatFailTheChecksOrASwitchedOffPreviewShowPlainNames) {
  const struct {
    const char* Case;
    bool On;
    std::function<void(TControlPage&)> Set;
  } cases[] = {
      {"nothing to search for", true, [](TControlPage&) {}},
      {"nothing to insert", true, [](TControlPage& p) { Operation(p, 1); }},
      {"switched off", false, [](TControlPage& p) { Text(p, "EdSearchFor", "IMG_"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    TControlPage page;
    page.SetPreviewOn(c.On);
    Open(page, c.Set);
    const QAbstractItemModel& model = *Named<TFileListBox>(page, "FileListBox1")->model();
    for (int row = 0; row < model.rowCount(); ++row) {
      EXPECT_FALSE(model.index(row, 0).data(kPreviewMarkRole).isValid()) << row;
      EXPECT_FALSE(model.index(row, 0).data(Qt::ToolTipRole).isValid()) << row;
    }
  }
}

TEST_F(NamePreview, TheSwitchIsRememberedAndTurnsThePreviewOffAndOn) {
  for (const bool on : {false, true, false}) {
    RememberPreview(on);
    EXPECT_EQ(PreviewWanted(), on);
    const TControlPage page;
    EXPECT_EQ(page.PreviewOn(), on);
  }
  TControlPage page;
  Open(page, [](TControlPage& p) { Text(p, "EdSearchFor", "IMG_"); });
  const QAbstractItemModel& model = *Named<TFileListBox>(page, "FileListBox1")->model();
  const QModelIndexList found = model.match(model.index(0, 0), Qt::DisplayRole, "IMG_0001.jpg", 1, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  EXPECT_FALSE(found[0].data(kPreviewMarkRole).isValid());
  page.SetPreviewOn(true);
  ASSERT_TRUE(WaitUntil([&] { return page.PreviewSettled(); }));
  EXPECT_EQ(found[0].data(kNewNameRole).toString(), "0001.jpg");
  page.SetPreviewOn(false);
  EXPECT_FALSE(found[0].data(kNewNameRole).isValid());
}

// The count of clashes is a status-bar message, which hides the bar's panels:
// another page's panels stay readable.
TEST_F(NamePreview, TheClashCountIsSaidOnlyWhileTheListIsInSight) {
  QWidget window;
  auto* bar = new QStatusBar(&window);
  bar->setObjectName("StatusBar");
  auto* panel = new QLabel(QStringLiteral("3 files"), bar);
  bar->addWidget(panel);
  auto* pages = new QStackedWidget(&window);
  auto* page = new TControlPage(pages);
  auto* other = new QWidget(pages);
  pages->addWidget(page);
  pages->addWidget(other);
  window.show();
  Open(*page, [](TControlPage& p) {
    Text(p, "EdSearchFor", "IMG_");
    Text(p, "EdReplaceWith", "Rome 2025 - ");
  });
  const QString count = bar->currentMessage();
  EXPECT_TRUE(count.contains(QStringLiteral("clash"))) << count.toStdString();
  pages->setCurrentWidget(other);
  EXPECT_EQ(bar->currentMessage(), QString());
  EXPECT_TRUE(panel->isVisible());
  pages->setCurrentWidget(page);
  EXPECT_EQ(bar->currentMessage(), count);
  // A clash mended while the list is out of sight is not said when it returns.
  pages->setCurrentWidget(other);
  Text(*page, "EdReplaceWith", "Rome 2026 - ");
  ASSERT_TRUE(WaitUntil([&] { return page->PreviewSettled(); }));
  pages->setCurrentWidget(page);
  EXPECT_EQ(bar->currentMessage(), QString());
}

}  // namespace
}  // namespace vt
