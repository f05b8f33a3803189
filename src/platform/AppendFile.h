#pragma once
// A file that only grows: created exclusively for the user alone, locked while
// its writer lives (so that a reader can tell a pass in progress from one whose
// writer is gone), each append handed to the kernel in one write.
// Every call returns 0 or the errno of its failure.
// Where every append goes to the disk, the file is grown ahead in zeros: an
// append into room already there changes no metadata, so its fdatasync need not
// commit the volume's journal (and with it every rename made since). Close cuts
// the zeros off; a process that dies leaves them, and a reader takes them for a
// torn tail (a block of length 0 is none).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vt {

enum class TDurability {
  Kernel,  // survives the end of the process, however it ends
  Disk,    // survives a power loss too: fdatasync after every append
};

class TAppendFile {
 public:
  TAppendFile() = default;
  ~TAppendFile();
  TAppendFile(const TAppendFile&) = delete;
  TAppendFile& operator=(const TAppendFile&) = delete;

  // Creates path (mode 0600, EEXIST when it exists) and takes its lock.
  int Create(const std::string& path, TDurability durability);
  // All of the bytes, in one write() unless the kernel takes fewer.
  int Append(std::string_view bytes);
  // Cuts the room grown ahead, then lets the lock go; the file stays.
  void Close();
  bool IsOpen() const { return Fd_ >= 0; }
  const std::string& Path() const { return Path_; }

 private:
  void Grow(std::uint64_t end);

  int Fd_ = -1;
  TDurability Durability_ = TDurability::Kernel;
  std::string Path_;
  std::uint64_t End_ = 0;   // of the bytes appended
  std::uint64_t Room_ = 0;  // the file's size: End_ and the zeros after it
};

// True while some process holds the lock of the file at path.
bool IsWriterAlive(const std::string& path);

// Reads a whole file, or its first maxBytes; 0 or the errno.
int ReadWholeFile(const std::string& path, std::string& bytes);
int ReadFileStart(const std::string& path, std::size_t maxBytes, std::string& bytes);
// The same from a file opened already.
int ReadOpenFile(int fd, std::size_t maxBytes, std::string& bytes);

// Appends bytes to an existing file (a mark added after the fact); 0 or the errno.
int AppendToFile(const std::string& path, std::string_view bytes);
// Cuts an existing file (never a link) to its first keep bytes and writes bytes
// after them, through to the disk; 0 or the errno.
int ReplaceFileTail(const std::string& path, std::uint64_t keep, std::string_view bytes);

// Who besides the user can read or enter a folder.
enum class TFolderAccess : std::uint8_t {
  Private,       // the user alone
  OpenToOthers,  // its group or other users too
};

// Makes folder (and its parents) when missing, the last one mode 0700, and
// tells whether it (made now or long ago) is open to others; 0 or the errno.
int MakePrivateFolder(const std::string& folder, TFolderAccess& access);

}  // namespace vt
