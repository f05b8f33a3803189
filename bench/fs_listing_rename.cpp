// The file-system layer against the least a safe renamer must do: one folder
// of N files, each renamed once per round, alternately by a bare loop of
// readdir + fstatat + renameat2(RENAME_NOREPLACE) and by TFindHandle +
// TFolderRenamer (with and without 8.3 names, and in the folder's own order
// instead of name order). Prints the median time of each, their ratios, and the
// peak memory of the layer's round per folder entry.
//   bench_fs_listing_rename [COUNT] [ROUNDS] [PARENT]
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/DirectoryListing.h"
#include "platform/FindData.h"
#include "platform/FolderRenamer.h"

namespace {

using Clock = std::chrono::steady_clock;

// "file" <-> "FILE" in the first place it occurs.
bool Toggle(const char* name, char* target, std::size_t size) {
  const std::size_t length = std::strlen(name);
  if (length + 1 > size) return false;
  std::memcpy(target, name, length + 1);
  if (char* hit = std::strstr(target, "file")) {
    std::memcpy(hit, "FILE", 4);
    return true;
  }
  if (char* hit = std::strstr(target, "FILE")) {
    std::memcpy(hit, "file", 4);
    return true;
  }
  return false;
}

std::size_t BareRound(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  const int fd = ::dirfd(dir);
  std::vector<char*> names;
  for (dirent* entry; (entry = ::readdir(dir)) != nullptr;) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    names.push_back(::strdup(entry->d_name));
  }
  std::size_t renamed = 0;
  char target[4096];
  for (char* name : names) {
    struct stat st;
    if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        Toggle(name, target, sizeof target) && ::renameat2(fd, name, fd, target, RENAME_NOREPLACE) == 0)
      ++renamed;
    std::free(name);
  }
  ::closedir(dir);
  return renamed;
}

std::size_t LayerRound(const std::string& folder, vt::ShortNames shortNames = vt::ShortNames::Make,
                       vt::NameOrder order = vt::NameOrder::Name) {
  std::vector<vt::TFindData> found;
  vt::TFindHandle listing(folder + "*.*", vt::ListFilter::All, shortNames, order);
  for (vt::TFindData entry; listing.FindNext(entry);) found.push_back(std::move(entry));
  vt::TFolderRenamer renamer;
  std::size_t renamed = 0;
  char target[4096];
  const std::string listed = listing.Folder();
  for (const vt::TFindData& entry : found) {
    if (entry.dwFileAttributes != vt::FileAttr::Archive) continue;
    if (Toggle(entry.cFileName.c_str(), target, sizeof target) && renamer.Rename(listed, entry.cFileName, target) == 0)
      ++renamed;
  }
  return renamed;
}

std::size_t BareListing(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  const int fd = ::dirfd(dir);
  std::vector<char*> names;
  for (dirent* entry; (entry = ::readdir(dir)) != nullptr;) names.push_back(::strdup(entry->d_name));
  std::size_t files = 0;
  for (char* name : names) {
    struct stat st;
    if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) ++files;
    std::free(name);
  }
  ::closedir(dir);
  return files;
}

std::size_t LayerListing(const std::string& folder, vt::NameOrder order = vt::NameOrder::Name) {
  vt::TFindHandle listing(folder + "*.*", vt::ListFilter::All, vt::ShortNames::Make, order);
  std::size_t files = 0;
  for (vt::TFindData entry; listing.FindNext(entry);) files += entry.dwFileAttributes == vt::FileAttr::Archive;
  return files;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// User and system time of this process so far: on a machine shared with other
// work the wall-clock figures carry its noise, these much less.
double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Peak resident memory of a child that runs `work` (KiB), to compare with one that does nothing.
template <typename F>
long ChildPeakKiB(F&& work) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    work();
    ::_exit(0);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::atol(argv[1]) : 100000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string parent = argc > 3 ? argv[3] : std::filesystem::temp_directory_path().string();
  std::string folder = parent + "/vt-bench-XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr) {
    std::perror("mkdtemp");
    return 2;
  }
  folder += "/";
  char name[64];
  for (long i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "holiday file %06ld.jpeg", i);
    ::close(::open((folder + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
  }

  // Memory first, from a parent that has done nothing yet, each in its own child.
  const long idle = ChildPeakKiB([] {});
  const long listingOnly = ChildPeakKiB([&] { LayerListing(folder); });
  const long bareListing = ChildPeakKiB([&] { BareListing(folder); });
  const long busy = ChildPeakKiB([&] { LayerRound(folder); });
  const long bareBusy = ChildPeakKiB([&] { BareRound(folder); });

  std::vector<double> bare, layer, layerSkip, layerStored, cpuSorted, cpuStored;
  bool allRenamed = true;
  for (int round = 0; round < rounds; ++round) {
    auto start = Clock::now();
    allRenamed &= BareRound(folder) == static_cast<std::size_t>(count);
    bare.push_back(Seconds(Clock::now() - start));
    start = Clock::now();
    allRenamed &= LayerRound(folder) == static_cast<std::size_t>(count);
    layer.push_back(Seconds(Clock::now() - start));
    start = Clock::now();
    double cpu = CpuSeconds();
    allRenamed &= LayerRound(folder, vt::ShortNames::Skip) == static_cast<std::size_t>(count);
    layerSkip.push_back(Seconds(Clock::now() - start));
    cpuSorted.push_back(CpuSeconds() - cpu);
    start = Clock::now();
    cpu = CpuSeconds();
    allRenamed &= LayerRound(folder, vt::ShortNames::Skip, vt::NameOrder::AsStored) == static_cast<std::size_t>(count);
    layerStored.push_back(Seconds(Clock::now() - start));
    cpuStored.push_back(CpuSeconds() - cpu);
  }
  std::vector<double> bareList, layerList, storedList;
  for (int round = 0; round < rounds; ++round) {
    auto start = Clock::now();
    BareListing(folder);
    bareList.push_back(Seconds(Clock::now() - start));
    start = Clock::now();
    LayerListing(folder);
    layerList.push_back(Seconds(Clock::now() - start));
    start = Clock::now();
    LayerListing(folder, vt::NameOrder::AsStored);
    storedList.push_back(Seconds(Clock::now() - start));
  }

  std::filesystem::remove_all(folder);
  std::printf("files %ld, rounds %d\n", count, rounds);
  std::printf("bare loop        %.3f s\n", Median(bare));
  std::printf("listing+renamer  %.3f s\n", Median(layer));
  std::printf("ratio            %.3f\n", Median(layer) / Median(bare));
  std::printf("without 8.3     %.3f s, ratio %.3f\n", Median(layerSkip), Median(layerSkip) / Median(bare));
  std::printf("unsorted, no 8.3 %.3f s: name order costs %.1f %% of the round (target <= 5 %%)\n", Median(layerStored),
              100.0 * (Median(layerSkip) / Median(layerStored) - 1.0));
  std::printf("  cpu time, no 8.3: name order %.3f s, unsorted %.3f s: %.1f %%\n", Median(cpuSorted), Median(cpuStored),
              100.0 * (Median(cpuSorted) / Median(cpuStored) - 1.0));
  std::printf("listing alone: bare %.4f s, layer %.4f s, unsorted %.4f s\n", Median(bareList), Median(layerList),
              Median(storedList));
  const auto perEntry = [&](long kib) { return static_cast<double>(kib - idle) * 1024.0 / static_cast<double>(count); };
  std::printf("peak per entry: listing %.0f bytes (bare %.0f), round with its found list %.0f bytes (bare %.0f)\n",
              perEntry(listingOnly), perEntry(bareListing), perEntry(busy), perEntry(bareBusy));
  if (!allRenamed) std::printf("NOT EVERY FILE WAS RENAMED\n");
  return allRenamed ? 0 : 1;
}
