#include "cli/CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/NameFields.h"
#include "engine/OperationTable.h"

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

// Where an option's setting comes from: the value typed (a number, a choice or
// a text), the text exactly as typed, or a value of its own.
enum class TSource : std::uint8_t { Typed, AsTyped, Fixed };

// One setting an option fills, named by its control.
struct TEffect {
  std::string_view Control;
  TSource Source = TSource::Typed;
  TSettingValue Fixed{};
};

struct TChoiceWord {
  std::string_view Word;
  int Value;
};

// An option of one operation. A number is bounded by Minimum and Maximum; a
// choice is one of Choices; a text is a name's text (What says which) that
// cannot hold a slash.
struct TOperationOption {
  std::string_view Name;
  TOperation Operation;
  std::vector<TEffect> Effects;
  int Minimum = 0;
  int Maximum = 0;
  std::vector<TChoiceWord> Choices;
  std::string_view What;
};

// The option sets control to a value of its own, to the value typed, or to the text as typed.
TEffect Set(std::string_view control, TSettingValue value) { return {control, TSource::Fixed, std::move(value)}; }
TEffect Typed(std::string_view control) { return {control, TSource::Typed, {}}; }
TEffect AsTyped(std::string_view control) { return {control, TSource::AsTyped, {}}; }

TOperationOption FlagOption(std::string_view name, TOperation operation, std::vector<TEffect> effects) {
  return {name, operation, std::move(effects), 0, 0, {}, {}};
}
TOperationOption NumberOption(std::string_view name, TOperation operation, std::vector<TEffect> effects, int minimum,
                              int maximum) {
  return {name, operation, std::move(effects), minimum, maximum, {}, {}};
}
TOperationOption ChoiceOption(std::string_view name, TOperation operation, std::string_view control,
                              std::vector<TChoiceWord> choices) {
  return {name, operation, {Typed(control)}, 0, 0, std::move(choices), {}};
}
TOperationOption TextOption(std::string_view name, TOperation operation, std::vector<TEffect> effects,
                            std::string_view what) {
  return {name, operation, std::move(effects), 0, 0, {}, what};
}

std::vector<TChoiceWord> Placements() {
  return {{"end", ChoiceValue(TPlacement::ToEnd)},
          {"begin", ChoiceValue(TPlacement::AtBeginning)},
          {"offset", ChoiceValue(TPlacement::FromBeginning)},
          {"offset-end", ChoiceValue(TPlacement::FromEnd)}};
}

// Each option of each operation, and the settings it fills.
const std::vector<TOperationOption>& OperationOptions() {
  using enum TOperation;
  static const std::vector<TOperationOption> options{
      FlagOption("recursive", SearchReplace, {Set("ChkBxSearchRecursive", true)}),
      FlagOption("recursive", Remove, {Set("ChkBxDelRecursive", true)}),
      FlagOption("case-sensitive", SearchReplace, {Set("ChkBxCaseSensitive", true)}),
      FlagOption("case-sensitive", Remove, {Set("ChkBxCaseSensDel", true)}),
      FlagOption("extension", SearchReplace, {Set("ChkBxSearchInExt", true)}),
      FlagOption("regex", SearchReplace, {Set("ChkBxRegex", true)}),
      ChoiceOption("at", Insert, "ComboInsertTo", Placements()),
      ChoiceOption("at", Number, "ComboNumberInsertTo", Placements()),
      NumberOption("pos", Insert, {Typed("UpDownInsertPos")}, 1, 127),
      NumberOption("pos", Remove, {Typed("UpDownDeletePos")}, 1, 127),
      NumberOption("pos", Number, {Typed("UpDownNumberPos")}, 1, 127),
      NumberOption("count", Remove, {Typed("UpDownNbrDelete")}, 0, 127),
      ChoiceOption("from", Remove, "ComboDeleteFrom",
                   {{"begin", ChoiceValue(TRemoveFrom::Beginning)},
                    {"end", ChoiceValue(TRemoveFrom::End)},
                    {"offset", ChoiceValue(TRemoveFrom::OffsetFromBeginning)},
                    {"offset-end", ChoiceValue(TRemoveFrom::OffsetFromEnd)}}),
      // Leading zeros of the start as typed set the width.
      NumberOption("start", Number, {Typed("UpDownStartNumber"), AsTyped("EdStartNumber")}, 0, 32767),
      NumberOption("increment", Number, {Typed("UpDownIncrement")}, 1, 20),
      FlagOption("backwards", Number, {Set("ChkBxDecrement", true)}),
      TextOption("base", Number, {Set("ChkBxUseBaseFilename", true), Typed("ComboBaseFileName")}, "the base name"),
      FlagOption("fields", Insert, {Set("ChkBxUseFields", true)}),
      FlagOption("fields", Number, {Set("ChkBxUseFields", true)}),
      FlagOption("no-extension", ChangeCase, {Set("ChkBxChangecaseWithExt", false)}),
      FlagOption("extension-only", ChangeCase, {Set("ChkBxChangecaseExtOnly", true)}),
      FlagOption("short", Truncate, {Set("ComboTruncateTo", ChoiceValue(TTruncateKind::ShortName))}),
      NumberOption("max", Truncate,
                   {Set("ComboTruncateTo", ChoiceValue(TTruncateKind::MaxChars)), Typed("UpDownNbrTruncate")}, 1, 127),
  };
  return options;
}

bool TakesValue(const TOperationOption& option) {
  return std::any_of(option.Effects.begin(), option.Effects.end(),
                     [](const TEffect& effect) { return effect.Source != TSource::Fixed; });
}

std::string_view WordOf(TOperation operation) {
  for (const TOperationRow& row : OperationRows())
    if (row.Operation == operation) return row.Word;
  return {};
}

// The options of the pass and the commands, then those of the operations, each name once.
std::vector<OptionEntry> AllOptions() {
  std::vector<OptionEntry> options{
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
  };
  for (const TOperationOption& option : OperationOptions()) {
    auto known = std::find_if(options.begin(), options.end(),
                              [&](const OptionEntry& entry) { return entry.Long == option.Name; });
    if (known == options.end())
      known = options.insert(options.end(),
                             OptionEntry{option.Name, 0, TakesValue(option) ? Arity::Value : Arity::Flag, {}});
    known->Operations.push_back(WordOf(option.Operation));
  }
  return options;
}

const std::vector<OptionEntry>& Options() {
  static const std::vector<OptionEntry> options = AllOptions();
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

// A long option at args[i], with its value from "=" or the next argument.
std::optional<std::string> ScanLong(const std::vector<std::string>& args, std::size_t& i, ScannedArguments& out) {
  const std::string& arg = args[i];
  const std::size_t equals = arg.find('=');
  const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
  const OptionEntry* known = FindLong(name);
  const std::string spelled = "--" + name;
  if (known == nullptr) return "unrecognized option '" + spelled + "'";
  if (known->Kind == Arity::Flag) {
    if (equals != std::string::npos) return "option '" + spelled + "' takes no value";
    out.Options.push_back({known, {}, spelled});
  } else if (equals != std::string::npos) {
    out.Options.push_back({known, arg.substr(equals + 1), spelled});
  } else if (i + 1 < args.size()) {
    out.Options.push_back({known, args[++i], spelled});
  } else {
    return "option '" + spelled + "' needs a value";
  }
  return std::nullopt;
}

// A bundle of short options; one that takes a value takes the rest of the bundle
// or the next argument.
std::optional<std::string> ScanBundle(const std::vector<std::string>& args, std::size_t& i, ScannedArguments& out) {
  const std::string& arg = args[i];
  for (std::size_t k = 1; k < arg.size(); ++k) {
    const OptionEntry* known = FindShort(arg[k]);
    const std::string spelled = std::string("-") + arg[k];
    if (known == nullptr) return "unrecognized option '" + spelled + "'";
    if (known->Kind == Arity::Flag) {
      out.Options.push_back({known, {}, spelled});
      continue;
    }
    if (k + 1 < arg.size()) {
      out.Options.push_back({known, arg.substr(k + 1), spelled});
    } else if (i + 1 < args.size()) {
      out.Options.push_back({known, args[++i], spelled});
    } else {
      return "option '" + spelled + "' needs a value";
    }
    break;
  }
  return std::nullopt;
}

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
    const std::optional<std::string> malformed = arg[1] == '-' ? ScanLong(args, i, out) : ScanBundle(args, i, out);
    if (malformed) return Unexpected(*malformed);
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

  TCheck Bounded(const GivenOption& given, int minimum, int maximum, TSettingValue& field) {
    const std::optional<int> value = ParseBounded(given.Value, minimum, maximum);
    if (!value)
      return Unexpected("option '" + given.Spelled + "' needs a whole number from " + std::to_string(minimum) + " to " +
                        std::to_string(maximum) + ", not '" + given.Value + "'");
    field = *value;
    return {};
  }

  TCheck Choice(const GivenOption& given, const std::vector<TChoiceWord>& words, TSettingValue& field) {
    for (const TChoiceWord& word : words)
      if (given.Value == word.Word) {
        field = word.Value;
        return {};
      }
    std::string list;
    for (const TChoiceWord& word : words) list += (list.empty() ? "" : ", ") + std::string(word.Word);
    return Unexpected("option '" + given.Spelled + "' needs one of " + list + ", not '" + given.Value + "'");
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
    const TOperationRow* row = FindOperation(word);
    if (row == nullptr)
      return Unexpected("unknown operation '" + word + "' (replace, insert, remove, number, case or truncate)");
    TRenameSettings& s = Options_.Settings;
    s = DefaultSettings(row->Operation);
    switch (row->Operation) {
      case TOperation::SearchReplace: {
        if (TCheck counted = Operands(word, operands, 2, 2); !counted) return counted;
        s.ReplaceInfos.SearchFor = operands[0];
        s.ReplaceInfos.ReplaceWith = operands[1];
        if (TCheck search = NameText("the search text", operands[0]); !search && !regex) return search;
        return NameText("the replacement", operands[1]);
      }
      case TOperation::Insert:
        if (TCheck counted = Operands(word, operands, 1, 1); !counted) return counted;
        s.InsertInfos.Text = operands[0];
        return NameText("the text to insert", operands[0]);
      case TOperation::Remove:
        if (TCheck counted = Operands(word, operands, 0, 1); !counted) return counted;
        s.DeleteInfos.Kind = operands.empty() ? TRemoveKind::Characters : TRemoveKind::String;
        if (operands.empty()) return {};
        s.DeleteInfos.Text = operands[0];
        return NameText("the text to remove", operands[0]);
      case TOperation::ChangeCase: return CaseKind(word, operands);
      case TOperation::Number:
      case TOperation::Truncate: return Operands(word, operands, 0, 0);
    }
    return {};
  }

  // Options are applied in the order typed; a repeated option keeps its last value.
  TCheck Apply(const std::string& operation, const GivenOption& given) {
    const TOperationOption* option = FindOption(operation, given.Entry->Long);
    if (option == nullptr) return {};  // the scan has refused it already
    TSettingValue typed = given.Value;
    if (!option->Choices.empty()) {
      if (TCheck chosen = Choice(given, option->Choices, typed); !chosen) return chosen;
    } else if (option->Maximum > 0) {
      if (TCheck bounded = Bounded(given, option->Minimum, option->Maximum, typed); !bounded) return bounded;
    } else if (!option->What.empty()) {
      if (TCheck text = NameText(std::string(option->What), given.Value); !text) return text;
    }
    for (const TEffect& effect : option->Effects) {
      const TSettingRow* row = FindSetting(option->Operation, effect.Control);
      if (row == nullptr) continue;
      switch (effect.Source) {
        case TSource::Typed: row->Set(Options_.Settings, typed); break;
        case TSource::AsTyped: row->Set(Options_.Settings, given.Value); break;
        case TSource::Fixed: row->Set(Options_.Settings, effect.Fixed); break;
      }
    }
    return {};
  }

  // Combinations that would silently do something else than asked.
  TCheck CheckCombination(const std::string& operation, const ScannedArguments& scanned) {
    const TRenameSettings& s = Options_.Settings;
    if (operation == "remove") {
      const bool byCount = s.DeleteInfos.Kind == TRemoveKind::Characters;
      if (byCount && !Given(scanned, "count")) return Unexpected("remove needs a TEXT or --count N");
      if (!byCount && Given(scanned, "count")) return Unexpected("remove takes a TEXT or --count N, not both");
      for (const char* option : {"from", "pos"})
        if (!byCount && Given(scanned, option))
          return Unexpected(std::string("option '--") + option + "' applies to remove --count only");
      for (const char* option : {"recursive", "case-sensitive"})
        if (byCount && Given(scanned, option))
          return Unexpected(std::string("option '--") + option + "' applies to remove TEXT only");
      if (Given(scanned, "pos") && !IsOffset(s.DeleteInfos.From))
        return Unexpected("option '--pos' needs --from offset or --from offset-end");
    }
    if (operation == "insert" && Given(scanned, "pos") && !IsOffset(s.InsertInfos.InsertTo))
      return Unexpected("option '--pos' needs --at offset or --at offset-end");
    if (operation == "number" && Given(scanned, "pos") && !IsOffset(s.NumberInfos.InsertTo))
      return Unexpected("option '--pos' needs --at offset or --at offset-end");
    if (operation == "number" && Given(scanned, "at") && !s.NumberInfos.UseBaseName)
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

  TCheck CaseKind(const std::string& word, const std::vector<std::string>& operands) {
    if (TCheck counted = Operands(word, operands, 1, 1); !counted) return counted;
    static constexpr std::array<std::pair<std::string_view, TCaseKind>, 5> kKinds{{
        {"upper", TCaseKind::Upper},
        {"lower", TCaseKind::Lower},
        {"first", TCaseKind::FirstUpperIgnoreRest},
        {"first-lower", TCaseKind::FirstUpperRestLower},
        {"weird", TCaseKind::Weird},
    }};
    for (const auto& [typed, kind] : kKinds)
      if (operands[0] == typed) {
        Options_.Settings.CaseKind = kind;
        return {};
      }
    return Unexpected("case needs one of upper, lower, first, first-lower, weird, not '" + operands[0] + "'");
  }

  static const TOperationOption* FindOption(const std::string& operation, std::string_view name) {
    const auto& options = OperationOptions();
    const auto found = std::find_if(options.begin(), options.end(), [&](const TOperationOption& option) {
      return option.Name == name && WordOf(option.Operation) == operation;
    });
    return found == options.end() ? nullptr : &*found;
  }
};

std::optional<TOutputFormat> ParseFormat(const std::string& text) {
  if (text == "table") return TOutputFormat::Table;
  if (text == "tsv") return TOutputFormat::Tsv;
  if (text == "json") return TOutputFormat::Json;
  return std::nullopt;
}

TParseResult Failure(std::string error) { return Unexpected(std::move(error)); }

std::string CommandWord(const TCliOptions& options, const std::string& operation) {
  switch (options.Command) {
    case TCliCommand::Pass: return operation;
    case TCliCommand::Show: return "show";
    case TCliCommand::History: return "history";
    default: return "recover";
  }
}

// An option of a pass alone; the caller has seen that the command is a pass.
TCheck ApplyPassOption(const GivenOption& given, TCliOptions& options) {
  const std::string_view name = given.Entry->Long;
  if (name == "no-save") {
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
  return {};
}

// One option that is not an operation's, checked against the command it stands with.
TCheck ApplyCommonOption(const GivenOption& given, const std::string& where, TCliOptions& options) {
  const std::string_view name = given.Entry->Long;
  const auto refused = [&](const std::string& why) {
    return TCheck(Unexpected("option '" + given.Spelled + "' " + why));
  };
  if (name == "format") {
    options.Format = ParseFormat(given.Value);
    if (!options.Format) return refused("needs table, tsv or json, not '" + given.Value + "'");
  } else if (options.Command == TCliCommand::History) {
    return refused("does not apply to history");
  } else if (name == "save") {
    if (options.Command == TCliCommand::Show) return refused("does not apply to show");
    if (given.Value.empty()) return refused("needs a file name");
    options.SaveFile = given.Value;
  } else if (name == "last" || name == "with-later") {
    if (options.Command != TCliCommand::Recover) return refused("applies to recover only");
    (name == "last" ? options.Last : options.WithLater) = true;
  } else if (name == "sync") {
    if (options.Command == TCliCommand::Show) return refused("does not apply to show");
    options.Sync = true;
  } else if (options.Command != TCliCommand::Pass) {
    return refused("does not apply to " + where);
  } else {
    return ApplyPassOption(given, options);
  }
  return {};
}

// The options every command shares, and the check that the rest belong where they stand.
TCheck ApplyCommon(const ScannedArguments& scanned, const std::string& operation, TCliOptions& options) {
  const std::string where = CommandWord(options, operation);
  for (const GivenOption& given : scanned.Options) {
    if (!given.Entry->Operations.empty()) {
      const auto& ops = given.Entry->Operations;
      if (options.Command != TCliCommand::Pass || std::find(ops.begin(), ops.end(), operation) == ops.end())
        return Unexpected("option '" + given.Spelled + "' does not apply to " + where);
      continue;
    }
    if (TCheck applied = ApplyCommonOption(given, where, options); !applied) return applied;
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

std::vector<std::string_view> OperationOptionNames(TOperation operation) {
  std::vector<std::string_view> names;
  for (const TOperationOption& option : OperationOptions())
    if (option.Operation == operation) names.push_back(option.Name);
  return names;
}

namespace {

// The command the first positionals name, and with a pass its folder and operation.
TCheck ReadCommand(const ScannedArguments& scanned, TCliOptions& options, std::string& operation) {
  const std::vector<std::string>& positionals = scanned.Positionals;
  if (positionals[0] == "history") {
    options.Command = TCliCommand::History;
    if (positionals.size() > 1) return Unexpected("history: unexpected argument '" + positionals[1] + "'");
  } else if (positionals[0] == "show" || positionals[0] == "recover") {
    options.Command = positionals[0] == "show" ? TCliCommand::Show : TCliCommand::Recover;
    // recover --last takes the newest automatic file instead of FILE.
    const bool last = options.Command == TCliCommand::Recover && Given(scanned, "last");
    const std::size_t files = last ? 0 : 1;
    if (positionals.size() < 1 + files) return Unexpected(positionals[0] + ": missing FILE");
    if (positionals.size() > 1 + files)
      return Unexpected(positionals[0] + ": unexpected argument '" + positionals[1 + files] + "'");
    if (!last) options.ResultFile = positionals[1];
  } else {
    if (positionals.size() < 2) return Unexpected(std::string("missing OPERATION after the folder"));
    options.Folder = positionals[0];
    if (options.Folder.empty()) return Unexpected(std::string("the folder cannot be empty"));
    operation = positionals[1];
  }
  return {};
}

// A pass's operation options, and the options that exclude each other.
TCheck ApplyOperationOptions(const ScannedArguments& scanned, const std::string& operation,
                             PassInterpreter& interpreter, const TCliOptions& options) {
  for (const GivenOption& given : scanned.Options) {
    if (given.Entry->Operations.empty()) continue;
    if (TCheck applied = interpreter.Apply(operation, given); !applied) return applied;
  }
  if (TCheck combined = interpreter.CheckCombination(operation, scanned); !combined) return combined;
  if (options.SaveFile && !options.Rename)
    return Unexpected(std::string("a simulation's rows cannot be saved: add -x to rename for real"));
  if (options.SaveFile && options.NoSave) return Unexpected(std::string("--save and --no-save exclude each other"));
  return {};
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
  if (const TCheck command = ReadCommand(scanned, options, operation); !command) return Failure(command.Error());
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
  if (const TCheck operands = ApplyOperationOptions(scanned, operation, interpreter, options); !operands)
    return Failure(operands.Error());
  options.Controls = ControlValuesFor(options.Settings);
  return options;
}

}  // namespace vt
