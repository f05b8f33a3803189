#include <gtest/gtest.h>

#include <cerrno>

#include "platform/SysErrorText.h"

namespace vt {
namespace {

TEST(SysErrorText, MapsPosixErrorsToTheIoTexts) {
  const struct {
    int error;
    const char* text;
  } cases[] = {
      {ENOENT, "File not found"},         {ENOTDIR, "Invalid filename"},
      {ENAMETOOLONG, "Invalid filename"}, {EMFILE, "Too many open files"},
      {ENFILE, "Too many open files"},    {EACCES, "File access denied"},
      {EPERM, "File access denied"},      {EIO, "I/O error 5"},
      {ENOMEDIUM, "I/O error 123"},       {ELOOP, "I/O error 40"},
  };
  for (const auto& c : cases) EXPECT_EQ(SysErrorText(c.error), c.text) << c.error;
}

}  // namespace
}  // namespace vt
