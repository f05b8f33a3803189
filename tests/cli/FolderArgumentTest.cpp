#include <gtest/gtest.h>

#include <filesystem>

#include "CliTestSupport.h"
#include "cli/FolderArgument.h"

namespace vt::test {
namespace {

TEST(FolderArgument, AlwaysAbsoluteAndEndingWithASlash) {
  TTempFolder dir;
  std::filesystem::create_directory(dir.Path() / "sub");
  const std::string base = dir.Path().string();
  struct Case {
    std::string Argument;
    std::string Folder;
  };
  const Case cases[] = {
      {base, base + "/"},
      {base + "/", base + "/"},
      {base + "/./sub/.", base + "/sub/"},
      {base + "//sub", base + "/sub/"},
      {base + "/sub/..", base + "/"},
      {"/", "/"},
  };
  for (const Case& c : cases) {
    const TExpected<std::string, std::string> result = ResolveFolder(c.Argument);
    ASSERT_TRUE(result) << c.Argument << ": " << result.Error();
    EXPECT_EQ(*result, c.Folder) << c.Argument;
  }
}

TEST(FolderArgument, DotDotFollowsTheRealFolderOfALink) {
  TTempFolder dir;
  std::filesystem::create_directories(dir.Path() / "real" / "inner");
  std::filesystem::create_directory_symlink(dir.Path() / "real" / "inner", dir.Path() / "link");
  const TExpected<std::string, std::string> result = ResolveFolder((dir.Path() / "link" / "..").string());
  ASSERT_TRUE(result) << result.Error();
  EXPECT_EQ(*result, std::filesystem::canonical(dir.Path() / "real").string() + "/");
}

TEST(FolderArgument, MissingFoldersAndFilesAreRefused) {
  TTempFolder dir;
  dir.WriteFile("file.txt");
  const TExpected<std::string, std::string> missing = ResolveFolder((dir.Path() / "nope").string());
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.Error().find("No such file or directory"), std::string::npos) << missing.Error();
  const TExpected<std::string, std::string> file = ResolveFolder((dir.Path() / "file.txt").string());
  ASSERT_FALSE(file);
  EXPECT_NE(file.Error().find("Not a directory"), std::string::npos) << file.Error();
}

}  // namespace
}  // namespace vt::test
