#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <string>
#include <vector>

#include "passes/MediaFiles.h"
#include "passes/PassTestSupport.h"
#include "support/InodeFlags.h"

namespace vt::test {
namespace {

constexpr std::time_t kModified = 1'704'164'645;  // 2024-01-02 03:04:05 UTC

void SetModified(const std::string& path, std::time_t when) {
  const timespec times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

std::string LocalText(std::time_t when, const char* format) {
  std::tm local{};
  ::localtime_r(&when, &local);
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, format, &local));
}

// A photo, a song of each kind and a plain text file, one folder.
void MakeMedia(const TTempTree& tree) {
  WriteJpeg(tree.Path("photo.jpg"), {"2025:06:14 10:11:12", "Canon", "EOS R6", 640, 480, {}});
  WriteJpeg(tree.Path("scan.jpg"), {{}, {}, {}, 300, 200, "2023-02-03T04:05:06"});
  WriteMp3(tree.Path("song.mp3"), {"Nina Simone", "Pastel Blues", "Sinnerman", 1965, 7});
  WriteFlac(tree.Path("tune.flac"), {"Miles/Davis", "Kind of Blue", "So What", 1959, 1});
  tree.File("notes.txt", "x");
  for (const char* name : {"photo.jpg", "scan.jpg", "song.mp3", "tune.flac", "notes.txt"})
    SetModified(tree.Path(name), kModified);
}

TControlValues WithFields(TControlValues controls) {
  controls.ChkBxUseFields = true;
  return controls;
}

TEST(FileFields, EachFieldNamesTheFilesThatHaveIt) {
  struct Case {
    const char* Masks;
    const char* Text;
    std::vector<std::string> NewNames;  // in name order; empty where the file lacks the field
  };
  const std::string modified = LocalText(kModified, "%Y%m%d-%H%M");
  for (const Case& c : {
           Case{"*.jpg", "{taken} ", {"2025-06-14 photo.jpg", "2023-02-03 scan.jpg"}},
           Case{"*.jpg", "{taken:%Y%m%d_%H%M%S} ", {"20250614_101112 photo.jpg", "20230203_040506 scan.jpg"}},
           Case{"*.jpg", "{make} {model} ", {"Canon EOS R6 photo.jpg", ""}},
           Case{"*.jpg", "{width}x{height} ", {"640x480 photo.jpg", "300x200 scan.jpg"}},
           Case{"*.mp3;*.flac",
                "{track:00} {artist} - {title} ({album}, {year}) ",
                {"07 Nina Simone - Sinnerman (Pastel Blues, 1965) song.mp3",
                 "01 Miles_Davis - So What (Kind of Blue, 1959) tune.flac"}},
           Case{"*.txt;*.mp3", "{modified:%Y%m%d-%H%M} ", {modified + " notes.txt", modified + " song.mp3"}},
           Case{"*.txt", "{name}-{{1}}-", {"notes-{1}-notes.txt"}},
           Case{"*.txt", "{title} ", {""}},
           Case{"*.mp3", "{taken} ", {""}},
       }) {
    SCOPED_TRACE(c.Text);
    TTempTree tree;
    MakeMedia(tree);
    TTestOwner owner;
    owner.Simulate = true;
    TSearchPassOptions options;
    options.Folder = tree.Root();
    options.Masks = c.Masks;
    RunSearch(owner, options, WithFields(InsertAtBeginning(c.Text)));
    ASSERT_EQ(owner.Table.RowCount(), c.NewNames.size());
    for (std::size_t i = 0; i < c.NewNames.size(); ++i) {
      const TResultRow& row = owner.Table.Row(i);
      SCOPED_TRACE(row.OldName);
      EXPECT_EQ(row.NewName, c.NewNames[i]);
      // A file that lacks a field is not renamed, and says why.
      EXPECT_EQ(row.Status, c.NewNames[i].empty() ? TRenameStatus::rsError : TRenameStatus::rsCanBeRenamed);
      EXPECT_EQ(row.SystemError, c.NewNames[i].empty() ? ENODATA : 0);
    }
  }
}

// The reading of a photo for its fields, or for its order, looks at it through
// the open file, and that look stands in for the listing's: a photo flagged
// immutable gets no row, in a simulation as in a real pass, whichever reads it.
TEST(FileFields, AnImmutablePhotoGetsNoRowWhicheverReadingLooksAtIt) {
  TTempTree tree;
  WriteJpeg(tree.Path("photo.jpg"), {"2025:06:14 10:11:12", "Canon", "EOS R6", 640, 480, {}});
  WriteJpeg(tree.Path("locked.jpg"), {"2025:06:13 10:11:12", "Canon", "EOS R6", 640, 480, {}});
  TInodeFlag flag;
  if (const std::string why = flag.Set(tree.Path("locked.jpg"), FS_IMMUTABLE_FL); !why.empty()) GTEST_SKIP() << why;
  for (const TFileOrder order : {TFileOrder::Name, TFileOrder::Taken, TFileOrder::Modified}) {
    for (const TControlValues& controls : {WithFields(InsertAtBeginning("{taken} ")), NumberDefaults()}) {
      for (const bool simulate : {true, false}) {
        SCOPED_TRACE(testing::Message() << "order " << static_cast<int>(order) << " " << controls.LstBoxActions
                                        << (simulate ? " simulated" : " renamed"));
        TTestOwner owner;
        owner.Simulate = simulate;
        TSearchPassOptions options;
        options.Folder = tree.Root();
        options.Masks = "*.jpg";
        options.Order = order;
        RunSearch(owner, options, controls);
        ASSERT_EQ(owner.Table.RowCount(), 1U);
        EXPECT_EQ(owner.Table.Row(0).OldName, "photo.jpg");
        EXPECT_EQ(owner.Table.Row(0).Status, simulate ? TRenameStatus::rsCanBeRenamed : TRenameStatus::rsOk);
        EXPECT_TRUE(tree.Exists("locked.jpg"));
        if (!simulate) RunUndo(owner);
        EXPECT_TRUE(tree.Exists("photo.jpg"));
      }
    }
  }
}

// A photo's metadata behind other segments (a preview, a colour profile) lies
// further into the file than the start first read, or past where a longer
// start is read at all; a photo cut off inside its metadata has none.
TEST(FileFields, ADateTakenIsFoundHoweverFarIntoTheFile) {
  struct Case {
    const char* What;
    int Segments;      // of filler before the metadata, 64 KiB each
    std::size_t Keep;  // bytes of the photo kept; 0 for all
    const char* NewName;
  };
  for (const Case& c : {
           Case{"at the start", 0, 0, "2025-06-14 photo.jpg"},
           Case{"past the first read", 3, 0, "2025-06-14 photo.jpg"},
           Case{"past the longest read", 70, 0, "2025-06-14 photo.jpg"},
           Case{"cut off inside it", 3, 2 + 3 * 65'537 + 20, ""},
       }) {
    SCOPED_TRACE(c.What);
    std::string filler;
    for (int i = 0; i < c.Segments; ++i) {  // APP15, which no reader knows: its length counts itself
      filler.append("\xFF\xEF\xFF\xFF", 4);
      filler.append(0xFFFD, 'x');
    }
    std::string bytes = JpegBytes({"2025:06:14 10:11:12", "Canon", {}, 1, 1, {}});
    bytes.insert(2, filler);  // after the start-of-image marker
    if (c.Keep != 0) bytes.resize(c.Keep);
    TTempTree tree;
    tree.File("photo.jpg", bytes);
    TTestOwner owner;
    owner.Simulate = true;
    TSearchPassOptions options;
    options.Folder = tree.Root();
    RunSearch(owner, options, WithFields(InsertAtBeginning("{taken} ")));
    ASSERT_EQ(owner.Table.RowCount(), 1u);
    EXPECT_EQ(owner.Table.Row(0).NewName, c.NewName);
  }
}

TEST(FileFields, AFileLackingAFieldKeepsItsNameAndTheOthersAreRenamed) {
  TTempTree tree;
  WriteJpeg(tree.Path("a.jpg"), {"2025:06:14 10:11:12", "Canon", {}, 1, 1, {}});
  WriteJpeg(tree.Path("b.jpg"), {"2025:06:15 10:11:12", {}, {}, 1, 1, {}});
  TTestOwner owner;
  TSearchPassOptions options;
  options.Folder = tree.Root();
  options.Masks = "*.jpg";
  RunSearch(owner, options, WithFields(InsertAtBeginning("{make} ")));
  EXPECT_EQ(RowTexts(owner.Table),
            (std::vector<TRowTexts>{{"a.jpg", "Canon a.jpg", tree.Root(), "Ok"}, {"b.jpg", "", tree.Root(), "Error"}}));
  EXPECT_EQ(tree.Names(), (std::vector<std::string>{"Canon a.jpg", "b.jpg"}));
  // Recover undoes it as any other pass.
  RunUndo(owner);
  EXPECT_EQ(tree.Names(), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST(FileFields, WithoutUseFieldsTheTextStaysLiteral) {
  TTempTree tree;
  WriteJpeg(tree.Path("a.jpg"), {"2025:06:14 10:11:12", "Canon", {}, 1, 1, {}});
  TTestOwner owner;
  owner.Simulate = true;
  TSearchPassOptions options;
  options.Folder = tree.Root();
  RunSearch(owner, options, InsertAtBeginning("{make}"));
  EXPECT_EQ(RowTexts(owner.Table), (std::vector<TRowTexts>{{"a.jpg", "{make}a.jpg", tree.Root(), "Can be renamed"}}));
}

// Two cameras, a folder each, their photos named out of the order they were
// taken in: each folder is numbered from 1 again, in the order taken.
TEST(FileFields, PhotosOfTwoCamerasNumberedPerFolderInTheOrderTaken) {
  TTempTree tree;
  tree.Folder("canon");
  tree.Folder("nikon");
  WriteJpeg(tree.Path("canon/IMG_0003.JPG"), {"2025:06:14 09:00:00", "Canon", {}, 1, 1, {}});
  WriteJpeg(tree.Path("canon/IMG_0010.JPG"), {"2025:06:14 08:00:00", "Canon", {}, 1, 1, {}});
  WriteJpeg(tree.Path("canon/IMG_0001.JPG"), {"2025:06:14 10:00:00", "Canon", {}, 1, 1, {}});
  WriteJpeg(tree.Path("nikon/DSC_0100.JPG"), {"2025:06:15 12:30:00", "NIKON CORPORATION", {}, 1, 1, {}});
  WriteJpeg(tree.Path("nikon/DSC_0099.JPG"), {"2025:06:15 12:31:00", "NIKON CORPORATION", {}, 1, 1, {}});
  TControlValues number = WithFields(Numbers("001"));
  number.ChkBxUseBaseFilename = true;
  number.ComboBaseFileName = "{taken} Rome {make} ";
  number.ComboNumberInsertTo = ControlIndex(TPlacement::ToEnd);
  TSearchPassOptions options;
  options.Folder = tree.Root();
  options.Masks = "*.JPG";
  options.IncludeSubDirs = true;
  options.Order = TFileOrder::Taken;
  options.RestartPerFolder = true;
  TTestOwner owner;
  RunSearch(owner, options, number);

  std::vector<std::string> rows;
  for (const TRowTexts& row : RowTexts(owner.Table)) rows.push_back(row.File + " " + row.NewName + " " + row.Status);
  EXPECT_EQ(rows, (std::vector<std::string>{"IMG_0010.JPG 2025-06-14 Rome Canon 001.JPG Ok",
                                            "IMG_0003.JPG 2025-06-14 Rome Canon 002.JPG Ok",
                                            "IMG_0001.JPG 2025-06-14 Rome Canon 003.JPG Ok",
                                            "DSC_0100.JPG 2025-06-15 Rome NIKON CORPORATION 001.JPG Ok",
                                            "DSC_0099.JPG 2025-06-15 Rome NIKON CORPORATION 002.JPG Ok"}));
  EXPECT_EQ(tree.Names("canon"),
            (std::vector<std::string>{"2025-06-14 Rome Canon 001.JPG", "2025-06-14 Rome Canon 002.JPG",
                                      "2025-06-14 Rome Canon 003.JPG"}));
}

}  // namespace
}  // namespace vt::test
