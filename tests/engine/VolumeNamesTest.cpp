// Names a volume refuses, foreseen by the step: a simulation says "Error" with
// the reason where a real rename would meet the kernel's refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Simulate.h"
#include "engine/RenameStep.h"
#include "engine/VolumeNames.h"
#include "support/ControlValues.h"

namespace vt::test {
namespace {

TEST(VolumeNames, WhatEachKindOfVolumeRefuses) {
  struct Case {
    std::string Name;
    TNameRefusal Linux, Windows;
  };
  const std::string e_acute = "\xC3\xA9";
  const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
  std::string acutes;
  for (int i = 0; i < 127; ++i) acutes += e_acute;  // 254 bytes, 127 units
  std::string emojis;
  for (int i = 0; i < 63; ++i) emojis += emoji;  // 252 bytes, 126 units
  const std::vector<Case> cases{
      {"photo.jpg", TNameRefusal::None, TNameRefusal::None},
      {"a:b.txt", TNameRefusal::None, TNameRefusal::ReservedChar},
      {"what?.txt", TNameRefusal::None, TNameRefusal::ReservedChar},
      {"\"quoted\".txt", TNameRefusal::None, TNameRefusal::ReservedChar},
      {"a*b<c>d|e\\f", TNameRefusal::None, TNameRefusal::ReservedChar},
      {"a/b", TNameRefusal::ReservedChar, TNameRefusal::ReservedChar},
      {std::string("a\0b", 3), TNameRefusal::ReservedChar, TNameRefusal::ReservedChar},
      {"tab\there", TNameRefusal::None, TNameRefusal::ControlChar},
      {"ends with a dot.", TNameRefusal::None, TNameRefusal::TrailingDotOrSpace},
      {"ends with a space ", TNameRefusal::None, TNameRefusal::TrailingDotOrSpace},
      {"dot.inside", TNameRefusal::None, TNameRefusal::None},
      {std::string(255, 'a'), TNameRefusal::None, TNameRefusal::None},
      {std::string(256, 'a'), TNameRefusal::TooLong, TNameRefusal::TooLong},
      {acutes, TNameRefusal::None, TNameRefusal::None},
      {emojis + "abcd", TNameRefusal::TooLong, TNameRefusal::TooLong},  // 256 bytes
      {emojis + "abc", TNameRefusal::None, TNameRefusal::None},         // 255 bytes, 129 units
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(VolumeRefusal(c.Name, TNameRules::Linux), c.Linux);
    EXPECT_EQ(VolumeRefusal(c.Name, TNameRules::Windows), c.Windows);
  }
}

TEST(VolumeNames, TheStepRefusesWhatTheVolumeOfTheFolderWould) {
  struct Case {
    const char* Insert;
    TNameRules Rules;
    TRenameStatus Status;
    int Error;
  };
  const std::vector<Case> cases{
      {" at 10:15", TNameRules::Linux, TRenameStatus::rsCanBeRenamed, 0},
      {" at 10:15", TNameRules::Windows, TRenameStatus::rsError, kVolumeRefusesChar},
      {" why?", TNameRules::Windows, TRenameStatus::rsError, kVolumeRefusesChar},
      {" copy", TNameRules::Windows, TRenameStatus::rsCanBeRenamed, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Insert);
    for (const TPassMode mode : {TPassMode::Simulate, TPassMode::Rename}) {
      TRenameStep step(CaptureSettings(InsertText(c.Insert)), mode);
      step.SetNameRules(c.Rules);
      ASSERT_TRUE(step.Judge(FileEntry("photo.jpg")));
      const bool pending = c.Status == TRenameStatus::rsCanBeRenamed && mode == TPassMode::Rename;
      EXPECT_EQ(step.Status(), c.Status);
      EXPECT_EQ(step.SystemError(), c.Error);
      EXPECT_EQ(step.RenamePending(), pending);
    }
  }
  // A name no Linux volume holds has its reason too.
  TRenameStep step(CaptureSettings(InsertText(std::string(300, 'x'))), TPassMode::Simulate);
  ASSERT_TRUE(step.Judge(FileEntry("photo.jpg")));
  EXPECT_EQ(step.Status(), TRenameStatus::rsError);
  EXPECT_EQ(step.SystemError(), kVolumeRefusesLength);
}

}  // namespace
}  // namespace vt::test
