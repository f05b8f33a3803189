#pragma once
// A file written in full beside the name it is to replace, and only then put
// in its place: a save that fails at any point leaves the old file as it was.
// Every call returns 0 or the errno of its failure.
#include <string>
#include <string_view>

namespace vt {

// The calls whose failure matters once the temporary file exists, behind an
// interface so that tests can make them fail where a real disk seldom does.
// What a link in the place of the file means: a path the user typed follows it,
// as editors do; a file the program named itself is never written through one.
enum class TLinkAtTarget { Follow, Refuse };

class IReplaceCalls {
 public:
  virtual ~IReplaceCalls() = default;
  // Writes some of the bytes: how many, or -1 with errno set.
  virtual long Write(int fd, const char* bytes, unsigned long count);
  virtual int Sync(int fd);  // fsync
  virtual int Rename(const char* from, const char* to);
};

IReplaceCalls& PosixReplaceCalls();

class TReplacingFile {
 public:
  explicit TReplacingFile(IReplaceCalls& calls = PosixReplaceCalls()) : Calls_(calls) {}
  // Removes the temporary file unless Commit() succeeded.
  ~TReplacingFile();
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  // Creates the temporary file in the folder of path. An existing path must be
  // a regular file this process may write (a symbolic link is followed to it,
  // or refused with ELOOP); its permission bits carry over to the new file.
  int Open(const std::string& path, TLinkAtTarget links = TLinkAtTarget::Follow);
  // All of the bytes, or an error.
  int Write(std::string_view bytes);
  // Flushes the temporary file to disk, closes it and renames it over the
  // chosen name. Returns the error and the step that failed.
  enum class TStep { None, Flush, Rename };
  struct TCommitResult {
    int Error = 0;
    TStep FailedStep = TStep::None;
  };
  TCommitResult Commit();

  // Where the bytes are going meanwhile; empty before Open().
  const std::string& TemporaryPath() const { return TempPath_; }

 private:
  void Discard();

  IReplaceCalls& Calls_;
  std::string Target_;
  std::string TempPath_;
  int Fd_ = -1;
  bool Committed_ = false;
};

}  // namespace vt
