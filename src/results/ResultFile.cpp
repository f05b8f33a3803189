#include "results/ResultFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "results/ByteSink.h"
#include "results/ByteSource.h"
#include "results/ResultStreamReader.h"
#include "results/ResultStreamWriter.h"

namespace vt {
namespace {

TResultFileStatus Failure(TResultFileError error, std::string path, int systemError = 0) {
  return Unexpected(TResultFileFailure{error, std::move(path), systemError});
}

TResultFileStatus NotAResultFile(std::string path = {}) {
  return Failure(TResultFileError::NotAResultFile, std::move(path));
}

// Closes the file when the load ends, however it ends.
struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string WriteResultStream(const TResultTable& table, const TResultLayout& layout) {
  TStringSink sink;
  if (!WriteResultTable(table, layout, sink)) return {};
  return std::move(sink.Bytes());
}

std::string WriteResultStream(const TResultTable& table) { return WriteResultStream(table, TResultLayout()); }

TResultFileStatus ReadResultStream(std::string_view bytes, TResultTable& table, TResultLayout& layout) {
  TMemorySource source(bytes);
  return ReadResultTable(source, table, layout) ? TResultFileStatus{} : NotAResultFile();
}

TResultFileStatus ReadResultStream(std::string_view bytes, TResultTable& table) {
  TResultLayout layout;
  return ReadResultStream(bytes, table, layout);
}

TResultFileStatus SaveResultFile(const TResultTable& table, const TResultLayout& layout, const std::string& path) {
  return SaveResultFile(table, layout, path, PosixReplaceCalls());
}

TResultFileStatus SaveResultFile(const TResultTable& table, const std::string& path) {
  return SaveResultFile(table, TResultLayout(), path);
}

namespace {

template <typename TWrite>
TResultFileStatus SaveStream(const std::string& path, TLinkAtTarget links, IReplaceCalls& calls, const TWrite& write);

}  // namespace

TResultFileStatus SaveResultFile(const TResultTable& table, const TResultLayout& layout, const std::string& path,
                                 IReplaceCalls& calls) {
  return SaveStream(path, TLinkAtTarget::Follow, calls,
                    [&](TByteSink& sink) { return WriteResultTable(table, layout, sink); });
}

TResultFileStatus SaveResultRows(IRowSource& rows, const std::string& path, TLinkAtTarget links) {
  const TResultLayout layout;
  return SaveStream(path, links, PosixReplaceCalls(),
                    [&](TByteSink& sink) { return WriteResultTable(rows, layout, sink); });
}

namespace {

template <typename TWrite>
TResultFileStatus SaveStream(const std::string& path, TLinkAtTarget links, IReplaceCalls& calls, const TWrite& write) {
  const auto cannotCreate = [&](int error) { return Failure(TResultFileError::CannotCreate, path, error); };
  const auto writeError = [&](int error) { return Failure(TResultFileError::WriteError, path, error); };

  TReplacingFile file(calls);
  if (const int error = file.Open(path, links)) return cannotCreate(error);
  TBufferedFileSink sink(file);
  const bool written = write(sink);
  if (!sink.Flush() || !written) return writeError(sink.Error());
  const TReplacingFile::TCommitResult committed = file.Commit();
  if (committed.FailedStep == TReplacingFile::TStep::Flush) return writeError(committed.Error);
  if (committed.FailedStep == TReplacingFile::TStep::Rename) return cannotCreate(committed.Error);
  return {};
}

// Only a regular file has a size that bounds what its lengths may claim.
std::unique_ptr<std::FILE, TFileCloser> OpenForReading(const std::string& path, std::uint64_t& size) {
  std::error_code error;
  const bool regular = std::filesystem::is_regular_file(path, error);
  size = regular ? std::filesystem::file_size(path, error) : 0;
  return std::unique_ptr<std::FILE, TFileCloser>(regular && !error ? std::fopen(path.c_str(), "rb") : nullptr);
}

}  // namespace

TResultFileStatus LoadResultFile(const std::string& path, TResultTable& table, TResultLayout& layout) {
  std::uint64_t size = 0;
  const auto file = OpenForReading(path, size);
  if (!file) return Failure(TResultFileError::CannotOpen, path);
  TBufferedFileSource source(file.get(), size);
  return ReadResultTable(source, table, layout) ? TResultFileStatus{} : NotAResultFile(path);
}

TResultFileStatus LoadResultFile(const std::string& path, TResultTable& table) {
  TResultLayout layout;
  return LoadResultFile(path, table, layout);
}

TResultFileStatus StreamResultFile(const std::string& path, const TRowSink& sink) {
  std::uint64_t size = 0;
  const auto file = OpenForReading(path, size);
  if (!file) return Failure(TResultFileError::CannotOpen, path);
  TBufferedFileSource source(file.get(), size);
  TResultLayout layout;
  return ReadResultTable(source, layout, sink) ? TResultFileStatus{} : NotAResultFile(path);
}

TResultFileStatus LoadWholeResultFile(const std::string& path, TResultTable& table, TResultLayout& layout) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > kWholeLoadLimitBytes)
    return Unexpected(TResultFileFailure{TResultFileError::CannotOpen, path, 0, kWholeLoadLimitBytes});
  return LoadResultFile(path, table, layout);
}

}  // namespace vt
