#include "cli/CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/NameFields.h"

namespace vt {

namespace {

enum class Arity { Flag, Value };

struct OptionEntry {
  std::string_view Long;
  char Short;  // 0 when there is none
  Arity Kind;
  // Operations the option belongs to; empty for the options of the pass and the commands.
  std::vector<std::string_view> Operations;
};

const std::vector<OptionEntry>& Options() {
  static const std::vector<OptionEntry> options{
      {"masks", 'm', Arity::Value, {}},
      {"subdirs", 'r', Arity::Flag, {}},
      {"rename", 'x', Arity::Flag, {}},
      {"all", 'a', Arity::Flag, {}},
      {"yes", 'y', Arity::Flag, {}},
      {"format", 'f', Arity::Value, {}},
      {"save", 'o', Arity::Value, {}},
      {"no-save", 0, Arity::Flag, {}},
      {"sync", 0, Arity::Flag, {}},
      {"keep-passes", 0, Arity::Value, {}},
      {"keep-megabytes", 0, Arity::Value, {}},
      {"last", 0, Arity::Flag, {}},
      {"with-later", 0, Arity::Flag, {}},
      {"order", 0, Arity::Value, {}},
      {"reverse", 0, Arity::Flag, {}},
      {"restart-per-folder", 0, Arity::Flag, {}},
      {"chains", 0, Arity::Flag, {}},
      {"help", 'h', Arity::Flag, {}},
      {"version", 0, Arity::Flag, {}},
      {"recursive", 0, Arity::Flag, {"replace", "remove"}},
      {"case-sensitive", 0, Arity::Flag, {"replace", "remove"}},
      {"extension", 0, Arity::Flag, {"replace"}},
      {"regex", 0, Arity::Flag, {"replace"}},
      {"at", 0, Arity::Value, {"insert", "number"}},
      {"pos", 0, Arity::Value, {"insert", "remove", "number"}},
      {"count", 0, Arity::Value, {"remove"}},
      {"from", 0, Arity::Value, {"remove"}},
      {"start", 0, Arity::Value, {"number"}},
      {"increment", 0, Arity::Value, {"number"}},
      {"backwards", 0, Arity::Flag, {"number"}},
      {"base", 0, Arity::Value, {"number"}},
      {"fields", 0, Arity::Flag, {"insert", "number"}},
      {"no-extension", 0, Arity::Flag, {"case"}},
      {"extension-only", 0, Arity::Flag, {"case"}},
      {"short", 0, Arity::Flag, {"truncate"}},
      {"max", 0, Arity::Value, {"truncate"}},
  };
  return options;
}

const OptionEntry* FindLong(std::string_view name) {
  for (const OptionEntry& known : Options())
    if (known.Long == name) return &known;
  return nullptr;
}

const OptionEntry* FindShort(char name) {
  for (const OptionEntry& known : Options())
    if (known.Short != 0 && known.Short == name) return &known;
  return nullptr;
}

struct GivenOption {
  const OptionEntry* Entry;
  std::string Value;
  std::string Spelled;  // as typed, for messages
};

struct ScannedArguments {
  std::vector<GivenOption> Options;
  std::vector<std::string> Positionals;
};

// Splits the arguments into options and positionals, or says which option is malformed.
TExpected<ScannedArguments, std::string> Scan(const std::vector<std::string>& args) {
  ScannedArguments out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      out.Positionals.insert(out.Positionals.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      return out;
    }
    if (arg.size() < 2 || arg[0] != '-') {
      out.Positionals.push_back(arg);
      continue;
    }
    if (arg[1] == '-') {
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
      const OptionEntry* known = FindLong(name);
      const std::string spelled = "--" + name;
      if (known == nullptr) return Unexpected("unrecognized option '" + spelled + "'");
      if (known->Kind == Arity::Flag) {
        if (equals != std::string::npos) return Unexpected("option '" + spelled + "' takes no value");
        out.Options.push_back({known, {}, spelled});
      } else if (equals != std::string::npos) {
        out.Options.push_back({known, arg.substr(equals + 1), spelled});
      } else if (i + 1 < args.size()) {
        out.Options.push_back({known, args[++i], spelled});
      } else {
        return Unexpected("option '" + spelled + "' needs a value");
      }
      continue;
    }
    // A bundle of short options; one that takes a value takes the rest of the bundle
    // or the next argument.
    for (std::size_t k = 1; k < arg.size(); ++k) {
      const OptionEntry* known = FindShort(arg[k]);
      const std::string spelled = std::string("-") + arg[k];
      if (known == nullptr) return Unexpected("unrecognized option '" + spelled + "'");
      if (known->Kind == Arity::Flag) {
        out.Options.push_back({known, {}, spelled});
        continue;
      }
      if (k + 1 < arg.size()) {
        out.Options.push_back({known, arg.substr(k + 1), spelled});
      } else if (i + 1 < args.size()) {
        out.Options.push_back({known, args[++i], spelled});
      } else {
        return Unexpected("option '" + spelled + "' needs a value");
      }
      break;
    }
  }
  return out;
}

bool Given(const ScannedArguments& scanned, std::string_view name) {
  return std::any_of(scanned.Options.begin(), scanned.Options.end(),
                     [&](const GivenOption& given) { return given.Entry->Long == name; });
}

// A plain decimal number within the limits of the window's field.
std::optional<int> ParseBounded(const std::string& text, int minimum, int maximum) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < minimum || value > maximum) return std::nullopt;
  return value;
}

// Index of text in words, as the window's drop-down lists number their items.
std::optional<int> ParseChoice(const std::string& text, std::initializer_list<std::string_view> words) {
  int index = 0;
  for (const std::string_view word : words) {
    if (text == word) return index;
    ++index;
  }
  return std::nullopt;
}

bool IsOffset(TPlacement at) { return at == TPlacement::FromBeginning || at == TPlacement::FromEnd; }
bool IsOffset(TRemoveFrom from) {
  return from == TRemoveFrom::OffsetFromBeginning || from == TRemoveFrom::OffsetFromEnd;
}

// Nothing, or the usage error.
using TCheck = TExpected<void, std::string>;

class Interpreter {
 public:
  explicit Interpreter(TCliOptions& options) : Options_(options) {}

  TCheck Bounded(const GivenOption& given, int minimum, int maximum, int& field) {
    const std::optional<int> value = ParseBounded(given.Value, minimum, maximum);
    if (!value)
      return Unexpected("option '" + given.Spelled + "' needs a whole number from " + std::to_string(minimum) + " to " +
                        std::to_string(maximum) + ", not '" + given.Value + "'");
    field = *value;
    return {};
  }

  TCheck Choice(const GivenOption& given, std::initializer_list<std::string_view> words, int& field) {
    const std::optional<int> value = ParseChoice(given.Value, words);
    if (!value) {
      std::string list;
      for (const std::string_view word : words) list += (list.empty() ? "" : ", ") + std::string(word);
      return Unexpected("option '" + given.Spelled + "' needs one of " + list + ", not '" + given.Value + "'");
    }
    field = *value;
    return {};
  }

  // A slash can never be part of a name on this system; a field's value has
  // its slashes replaced, so only the text around the fields counts.
  TCheck NameText(const std::string& what, const std::string& text) {
    bool slash = text.find('/') != std::string::npos;
    if (slash && Fields_) {
      const TExpected<TFieldTemplate, TFieldError> fields = ParseFieldTemplate(text);
      // A text whose fields are wrong is refused by the checks, with the place.
      slash = fields && std::any_of(fields->Pieces.begin(), fields->Pieces.end(), [](const TFieldPiece& piece) {
                return piece.Literal.find('/') != std::string::npos;
              });
    }
    if (slash) return Unexpected(what + " cannot hold '/': '" + text + "'");
    return {};
  }
  void SetFields(bool fields) { Fields_ = fields; }

 protected:
  TCliOptions& Options_;
  bool Fields_ = false;
};

class PassInterpreter : public Interpreter {
 public:
  using Interpreter::Interpreter;

  // regex: the search text is a regular expression, which may hold any character.
  TCheck Operation(const std::string& word, const std::vector<std::string>& operands, bool regex) {
    TControlValues& c = Options_.Controls;
    if (word == "replace") {
      c.LstBoxActions = ControlIndex(TOperation::SearchReplace);
      if (TCheck counted = Operands(word, operands, 2, 2); !counted) return counted;
      c.EdSearchFor = operands[0];
      c.EdReplaceWith = operands[1];
      if (TCheck search = NameText("the search text", c.EdSearchFor); !search && !regex) return search;
      return NameText("the replacement", c.EdReplaceWith);
    }
    if (word == "insert") {
      c.LstBoxActions = ControlIndex(TOperation::Insert);
      if (TCheck counted = Operands(word, operands, 1, 1); !counted) return counted;
      c.EdInsert = operands[0];
      return NameText("the text to insert", c.EdInsert);
    }
    if (word == "remove") {
      c.LstBoxActions = ControlIndex(TOperation::Remove);
      if (TCheck counted = Operands(word, operands, 0, 1); !counted) return counted;
      c.ComboItemToDelete = ControlIndex(operands.empty() ? TRemoveKind::Characters : TRemoveKind::String);
      if (!operands.empty()) {
        c.EdDelete = operands[0];
        return NameText("the text to remove", c.EdDelete);
      }
      return {};
    }
    if (word == "number") {
      c.LstBoxActions = ControlIndex(TOperation::Number);
      return Operands(word, operands, 0, 0);
    }
    if (word == "case") {
      c.LstBoxActions = ControlIndex(TOperation::ChangeCase);
      if (TCheck counted = Operands(word, operands, 1, 1); !counted) return counted;
      const std::optional<int> kind = ParseChoice(operands[0], {"upper", "lower", "first", "first-lower", "weird"});
      if (!kind)
        return Unexpected("case needs one of upper, lower, first, first-lower, weird, not '" + operands[0] + "'");
      c.ComboChangeCase = *kind;
      return {};
    }
    if (word == "truncate") {
      c.LstBoxActions = ControlIndex(TOperation::Truncate);
      return Operands(word, operands, 0, 0);
    }
    return Unexpected("unknown operation '" + word + "' (replace, insert, remove, number, case or truncate)");
  }

  // Options are applied in the order typed; a repeated option keeps its last value.
  TCheck Apply(const std::string& operation, const GivenOption& given) {
    TControlValues& c = Options_.Controls;
    const std::string_view name = given.Entry->Long;
    if (name == "recursive") {
      (operation == "replace" ? c.ChkBxSearchRecursive : c.ChkBxDelRecursive) = true;
    } else if (name == "case-sensitive") {
      (operation == "replace" ? c.ChkBxCaseSensitive : c.ChkBxCaseSensDel) = true;
    } else if (name == "extension") {
      c.ChkBxSearchInExt = true;
    } else if (name == "regex") {
      c.ChkBxRegex = true;
    } else if (name == "at") {
      return Choice(given, {"end", "begin", "offset", "offset-end"},
                    operation == "insert" ? c.ComboInsertTo : c.ComboNumberInsertTo);
    } else if (name == "pos") {
      int& field = operation == "insert"   ? c.UpDownInsertPos
                   : operation == "remove" ? c.UpDownDeletePos
                                           : c.UpDownNumberPos;
      return Bounded(given, 1, 127, field);
    } else if (name == "count") {
      return Bounded(given, 0, 127, c.UpDownNbrDelete);
    } else if (name == "from") {
      return Choice(given, {"begin", "end", "offset", "offset-end"}, c.ComboDeleteFrom);
    } else if (name == "start") {
      if (TCheck start = Bounded(given, 0, 32767, c.UpDownStartNumber); !start) return start;
      c.EdStartNumber = given.Value;  // as typed: leading zeros set the width
    } else if (name == "increment") {
      return Bounded(given, 1, 20, c.UpDownIncrement);
    } else if (name == "backwards") {
      c.ChkBxDecrement = true;
    } else if (name == "base") {
      c.ChkBxUseBaseFilename = true;
      c.ComboBaseFileName = given.Value;
      return NameText("the base name", given.Value);
    } else if (name == "fields") {
      c.ChkBxUseFields = true;
    } else if (name == "no-extension") {
      c.ChkBxChangecaseWithExt = false;
    } else if (name == "extension-only") {
      c.ChkBxChangecaseExtOnly = true;
    } else if (name == "short") {
      c.ComboTruncateTo = ControlIndex(TTruncateKind::ShortName);
    } else if (name == "max") {
      c.ComboTruncateTo = ControlIndex(TTruncateKind::MaxChars);
      return Bounded(given, 1, 127, c.UpDownNbrTruncate);
    }
    return {};
  }

  // Combinations that would silently do something else than asked.
  TCheck CheckCombination(const std::string& operation, const ScannedArguments& scanned) {
    const TControlValues& c = Options_.Controls;
    if (operation == "remove") {
      const bool byCount = c.ComboItemToDelete == ControlIndex(TRemoveKind::Characters);
      if (byCount && !Given(scanned, "count")) return Unexpected("remove needs a TEXT or --count N");
      if (!byCount && Given(scanned, "count")) return Unexpected("remove takes a TEXT or --count N, not both");
      for (const char* option : {"from", "pos"})
        if (!byCount && Given(scanned, option))
          return Unexpected(std::string("option '--") + option + "' applies to remove --count only");
      for (const char* option : {"recursive", "case-sensitive"})
        if (byCount && Given(scanned, option))
          return Unexpected(std::string("option '--") + option + "' applies to remove TEXT only");
      if (Given(scanned, "pos") && !IsOffset(FromControlIndex<TRemoveFrom>(c.ComboDeleteFrom)))
        return Unexpected("option '--pos' needs --from offset or --from offset-end");
    }
    if (operation == "insert" && Given(scanned, "pos") && !IsOffset(FromControlIndex<TPlacement>(c.ComboInsertTo)))
      return Unexpected("option '--pos' needs --at offset or --at offset-end");
    if (operation == "number" && Given(scanned, "pos") &&
        !IsOffset(FromControlIndex<TPlacement>(c.ComboNumberInsertTo)))
      return Unexpected("option '--pos' needs --at offset or --at offset-end");
    if (operation == "number" && Given(scanned, "at") && !c.ChkBxUseBaseFilename)
      return Unexpected("option '--at' needs --base NAME (without it the number is the whole name)");
    if (operation == "case" && Given(scanned, "no-extension") && Given(scanned, "extension-only"))
      return Unexpected("options '--no-extension' and '--extension-only' exclude each other");
    if (operation == "truncate" && Given(scanned, "short") == Given(scanned, "max"))
      return Unexpected("truncate needs --short or --max N");
    return {};
  }

 private:
  TCheck Operands(const std::string& word, const std::vector<std::string>& operands, std::size_t least,
                  std::size_t most) {
    if (operands.size() < least) return Unexpected(word + ": missing argument (see --help)");
    if (operands.size() > most) return Unexpected(word + ": unexpected argument '" + operands[most] + "'");
    return {};
  }
};

std::optional<TOutputFormat> ParseFormat(const std::string& text) {
  if (text == "table") return TOutputFormat::Table;
  if (text == "tsv") return TOutputFormat::Tsv;
  if (text == "json") return TOutputFormat::Json;
  return std::nullopt;
}

TParseResult Failure(std::string error) { return Unexpected(std::move(error)); }

// The options every command shares, and the check that the rest belong where they stand.
TCheck ApplyCommon(const ScannedArguments& scanned, const std::string& operation, TCliOptions& options) {
  const bool pass = options.Command == TCliCommand::Pass;
  for (const GivenOption& given : scanned.Options) {
    const std::string_view name = given.Entry->Long;
    const std::string where = pass                                      ? operation
                              : options.Command == TCliCommand::Show    ? "show"
                              : options.Command == TCliCommand::History ? "history"
                                                                        : "recover";
    if (!given.Entry->Operations.empty()) {
      const auto& ops = given.Entry->Operations;
      if (!pass || std::find(ops.begin(), ops.end(), operation) == ops.end())
        return Unexpected("option '" + given.Spelled + "' does not apply to " + where);
      continue;
    }
    if (name == "format") {
      options.Format = ParseFormat(given.Value);
      if (!options.Format)
        return Unexpected("option '" + given.Spelled + "' needs table, tsv or json, not '" + given.Value + "'");
    } else if (options.Command == TCliCommand::History) {
      return Unexpected("option '" + given.Spelled + "' does not apply to history");
    } else if (name == "save") {
      if (options.Command == TCliCommand::Show)
        return Unexpected("option '" + given.Spelled + "' does not apply to show");
      if (given.Value.empty()) return Unexpected("option '" + given.Spelled + "' needs a file name");
      options.SaveFile = given.Value;
    } else if (name == "last") {
      if (options.Command != TCliCommand::Recover)
        return Unexpected("option '" + given.Spelled + "' applies to recover only");
      options.Last = true;
    } else if (name == "with-later") {
      if (options.Command != TCliCommand::Recover)
        return Unexpected("option '" + given.Spelled + "' applies to recover only");
      options.WithLater = true;
    } else if (name == "sync") {
      if (options.Command == TCliCommand::Show)
        return Unexpected("option '" + given.Spelled + "' does not apply to show");
      options.Sync = true;
    } else if (!pass) {
      return Unexpected("option '" + given.Spelled + "' does not apply to " + where);
    } else if (name == "no-save") {
      options.NoSave = true;
    } else if (name == "keep-passes" || name == "keep-megabytes") {
      const std::optional<int> value = ParseBounded(given.Value, name == "keep-passes" ? 1 : 0, 999999999);
      if (!value)
        return Unexpected("option '" + given.Spelled + "' needs a whole number" +
                          (name == "keep-passes" ? " from 1" : "") + ", not '" + given.Value + "'");
      if (name == "keep-passes")
        options.KeepPasses = static_cast<std::size_t>(*value);
      else
        options.KeepMegabytes = static_cast<std::uint64_t>(*value);
    } else if (name == "masks") {
      options.Masks = given.Value;
    } else if (name == "subdirs") {
      options.IncludeSubDirs = true;
    } else if (name == "rename") {
      options.Rename = true;
    } else if (name == "all") {
      options.RecordAll = true;
    } else if (name == "yes") {
      options.AssumeYes = true;
    } else if (name == "order") {
      const std::optional<int> order = ParseChoice(given.Value, {"name", "natural", "modified", "taken", "size"});
      if (!order)
        return Unexpected("option '" + given.Spelled + "' needs name, natural, modified, taken or size, not '" +
                          given.Value + "'");
      options.Order = static_cast<TFileOrder>(*order);
    } else if (name == "reverse") {
      options.Direction = TOrderDirection::Descending;
    } else if (name == "restart-per-folder") {
      options.RestartPerFolder = true;
    } else if (name == "chains") {
      options.Chains = true;
    }
  }
  return {};
}

// --help and --version win over anything else typed, mistakes included.
std::optional<TCliCommand> AskedForHelp(const std::vector<std::string>& args) {
  std::optional<TCliCommand> asked;
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") return TCliCommand::Help;
    if (arg == "--version") asked = TCliCommand::Version;
  }
  return asked;
}

}  // namespace

TParseResult ParseCommandLine(const std::vector<std::string>& args) {
  TCliOptions options;
  if (const std::optional<TCliCommand> asked = AskedForHelp(args)) {
    options.Command = *asked;
    return options;
  }
  TExpected<ScannedArguments, std::string> scan = Scan(args);
  if (!scan) return Failure(scan.Error());
  const ScannedArguments scanned = std::move(scan).Value();
  if (Given(scanned, "help")) {  // inside a bundle such as -xh
    options.Command = TCliCommand::Help;
    return options;
  }

  const std::vector<std::string>& positionals = scanned.Positionals;
  if (positionals.empty()) return Failure("missing FOLDER and OPERATION");

  if (positionals[0] == "help") {
    if (positionals.size() > 2) return Failure("help: unexpected argument '" + positionals[2] + "'");
    options.Command = TCliCommand::Topic;
    if (positionals.size() == 2) options.HelpTopic = positionals[1];
    return options;
  }

  std::string operation;
  if (positionals[0] == "history") {
    options.Command = TCliCommand::History;
    if (positionals.size() > 1) return Failure("history: unexpected argument '" + positionals[1] + "'");
  } else if (positionals[0] == "show" || positionals[0] == "recover") {
    options.Command = positionals[0] == "show" ? TCliCommand::Show : TCliCommand::Recover;
    // recover --last takes the newest automatic file instead of FILE.
    const bool last = options.Command == TCliCommand::Recover && Given(scanned, "last");
    const std::size_t files = last ? 0 : 1;
    if (positionals.size() < 1 + files) return Failure(positionals[0] + ": missing FILE");
    if (positionals.size() > 1 + files)
      return Failure(positionals[0] + ": unexpected argument '" + positionals[1 + files] + "'");
    if (!last) options.ResultFile = positionals[1];
  } else {
    if (positionals.size() < 2) return Failure("missing OPERATION after the folder");
    options.Folder = positionals[0];
    if (options.Folder.empty()) return Failure("the folder cannot be empty");
    operation = positionals[1];
  }

  PassInterpreter interpreter(options);
  interpreter.SetFields(Given(scanned, "fields"));
  if (options.Command == TCliCommand::Pass) {
    const std::vector<std::string> operands(positionals.begin() + 2, positionals.end());
    if (const TCheck given = interpreter.Operation(operation, operands, Given(scanned, "regex")); !given)
      return Failure(given.Error());
  }
  if (const TCheck common = ApplyCommon(scanned, operation, options); !common) return Failure(common.Error());
  if (options.WithLater && options.Last) return Failure("--with-later needs a pass's ID, not --last");
  if (options.Command != TCliCommand::Pass) return options;

  for (const GivenOption& given : scanned.Options) {
    if (given.Entry->Operations.empty()) continue;
    if (const TCheck applied = interpreter.Apply(operation, given); !applied) return Failure(applied.Error());
  }
  if (const TCheck combined = interpreter.CheckCombination(operation, scanned); !combined)
    return Failure(combined.Error());
  if (options.SaveFile && !options.Rename)
    return Failure("a simulation's rows cannot be saved: add -x to rename for real");
  if (options.SaveFile && options.NoSave) return Failure("--save and --no-save exclude each other");
  return options;
}

}  // namespace vt
