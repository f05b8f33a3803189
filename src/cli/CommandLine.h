#pragma once
// The command line's grammar: options before or after the positional arguments,
// GNU style ("--name value", "--name=value", "-m value", "-mvalue", "-rx"), "--"
// ending the options. Parsing touches nothing; the folder is taken as typed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/RowFormat.h"
#include "engine/Expected.h"
#include "engine/RenameSettings.h"
#include "passes/FileOrder.h"

namespace vt {

// Topic: `help [TOPIC]`, the topic in HelpTopic (empty: the list of topics).
enum class TCliCommand { Pass, Show, Recover, History, Help, Topic, Version };

struct TCliOptions {
  TCliCommand Command = TCliCommand::Pass;
  // A pass
  std::string Folder;
  std::string Masks = "*.*";
  bool IncludeSubDirs = false;
  bool Rename = false;
  bool RecordAll = false;
  // Answer yes to every question of the checks before the pass.
  bool AssumeYes = false;
  TFileOrder Order = TFileOrder::Name;  // of the entries of each folder
  TOrderDirection Direction = TOrderDirection::Ascending;
  bool RestartPerFolder = false;  // Number counts from its start in each folder
  bool Chains = false;            // renames make room for each other
  // The pass's settings, filled as typed.
  TRenameSettings Settings;
  // What the window's controls would show for Settings.
  TControlValues Controls;
  // show and recover
  std::string ResultFile;
  bool Last = false;  // recover: the newest kept pass that stands
  // recover ID: with every later pass that renamed some of its files again
  bool WithLater = false;
  // A pass and recover
  std::optional<std::string> SaveFile;
  bool NoSave = false;  // a real pass: its journal goes once it has ended as it should
  bool Sync = false;    // each block of the journal on disk before its renames
  // A real pass: how many passes, and how many megabytes of them, are kept (else the configuration's)
  std::optional<std::size_t> KeepPasses;
  std::optional<std::uint64_t> KeepMegabytes;
  // Unset: a table on a terminal, tab-separated lines otherwise.
  std::optional<TOutputFormat> Format;
  std::string HelpTopic;
};

// The options, or the usage error.
using TParseResult = TExpected<TCliOptions, std::string>;

// args: the arguments after the program name.
TParseResult ParseCommandLine(const std::vector<std::string>& args);

// The options of an operation, without their "--", in the order of the options' table.
std::vector<std::string_view> OperationOptionNames(TOperation operation);

}  // namespace vt
