// Writes result files of several shapes into a folder, as the fuzzer's seeds, and
// every malformed stream the reader's tests build.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "../tests/support/TableWithLayout.h"
#include "MalformedStreams.h"
#include "passes/ResultTable.h"
#include "results/ResultFile.h"

namespace {

void Save(const vt::test::TTableWithLayout& table, const std::string& folder, const std::string& name) {
  const vt::TResultFileStatus status = vt::SaveResultFile(table, table, folder + "/" + name);
  if (!status)
    std::fprintf(stderr, "cannot save %s/%s: kind %d, errno %d\n", folder.c_str(), name.c_str(),
                 static_cast<int>(status.Error().Kind), status.Error().SystemError);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];

  vt::test::TTableWithLayout empty;
  Save(empty, folder, "empty.vtr");

  vt::test::TTableWithLayout one;
  one.AppendRow("a.txt", "b.txt", "C:\\Data", "Ok");
  Save(one, folder, "one-row.vtr");

  vt::test::TTableWithLayout several;
  for (int i = 0; i < 5; ++i)
    several.AppendRow("photo" + std::to_string(i) + ".jpg", i % 2 ? "" : "img.jpg", "/home/u/",
                      i % 2 ? "No change" : "Ok");
  several.SetTextColor(vt::TextColor::Gray);
  several.SetTextColor(vt::TextColor::Black);
  Save(several, folder, "font-group.vtr");

  vt::test::TTableWithLayout odd;
  odd.SetColumnWidth(0, 50);
  odd.SetColumnWidth(1, 40000);
  odd.Columns()[2].Caption.clear();
  odd.Columns().push_back({"Extra", -5});
  odd.Width = -200000;
  vt::TResultFont font = odd.Font();
  font.Color = 0x123456;
  font.Style = vt::FontStyle::Bold | vt::FontStyle::Underline;
  odd.SetFont(font);
  vt::TResultRow row;
  row.OldName = std::string(300, 'x');
  row.Folder = std::make_shared<const std::string>("\xC3\xA9t\xC3\xA9");
  auto kept = std::make_shared<vt::TKeptCells>();
  kept->SubCount = 5;
  kept->StatusText = "";
  kept->More = {"", "extra"};
  kept->UserWord = 77;
  row.Kept = kept;
  odd.AppendRow(row);
  Save(odd, folder, "odd-layout.vtr");

  int number = 0;
  for (const vt::test::TMalformedStream& stream : vt::test::MalformedStreams()) {
    const std::string path = folder + "/malformed-" + std::to_string(++number) + ".vtr";
    if (!(std::ofstream(path, std::ios::binary | std::ios::trunc) << stream.Bytes))
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
  }
  return 0;
}
