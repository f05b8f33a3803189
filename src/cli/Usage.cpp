#include "cli/Usage.h"

#include <algorithm>
#include <array>

namespace vt {
namespace {

// One screen: what a newcomer needs, and where the rest is. An option added
// goes under its heading; whatever needs more than two lines to explain goes
// into a topic below.
constexpr std::string_view kUsage =
    R"(Usage: veltrane-cli [PASS OPTIONS] FOLDER OPERATION [OPERATION OPTIONS]
       veltrane-cli show FILE|ID [-f FORMAT]
       veltrane-cli recover FILE|ID|--last [--with-later] [-o FILE] [-f FORMAT]
       veltrane-cli help [TOPIC]

Renames the files of FOLDER that the masks select, with one of six operations.
Without -x the pass is a simulation: it shows what would be renamed and renames
nothing. Nothing is ever overwritten, and recover undoes a real pass.

Pass options:
  -m, --masks MASKS     masks separated by ";" (default "*.*")
  -r, --subdirs         include sub-folders (not hidden ones)
  -x, --rename          rename for real (without it the pass is a simulation)
  -a, --all             record "No Match" rows too
  -y, --yes             answer yes to every question asked before the pass
      --order name|natural|modified|taken|size
                        the order files are handled and numbered in (help files)
      --reverse         that order turned round
      --restart-per-folder  number each folder's files from the start again
      --chains          let renames make room for each other (help chains)
  -f, --format table|tsv|json  how the rows are printed (help output)
  -o, --save FILE       after a real pass, write its rows to the result FILE
      --no-save         keep no journal once the pass has ended (help journal)
      --sync            put each block of the journal on disk before its renames
      --keep-passes N   keep the newest N passes to undo (50; help history)
      --keep-megabytes MB  and of them no more than MB (200)
  -h, --help            show this help
      --version         show the version

Operations:
  replace SEARCH REPLACE [--recursive] [--case-sensitive] [--extension]
          [--regex]
  insert TEXT [--at end|begin|offset|offset-end] [--pos N] [--fields]
  remove TEXT [--recursive] [--case-sensitive]
  remove --count N [--from begin|end|offset|offset-end] [--pos N]
  number [--start TEXT] [--increment N] [--backwards]
         [--base NAME] [--at end|begin|offset|offset-end] [--pos N] [--fields]
  case upper|lower|first|first-lower|weird [--no-extension|--extension-only]
  truncate --short | --max N
  (help operations: what each does; help files: which files are renamed)

Result files:
  show FILE             print the rows of a result file (.vtr) or journal (.vtj)
  recover FILE          undo the renames that FILE lists
  recover --last        undo the newest pass not undone yet (help recover)
  history               list kept passes; show ID, recover ID (help history)

Examples:
  veltrane-cli ~/Photos replace IMG_ "Rome 2025 - "
                        simulate: what would be renamed
  veltrane-cli -x -o rome.vtr ~/Photos replace IMG_ "Rome 2025 - "
                        rename, keep a result file
  veltrane-cli recover rome.vtr
                        undo that pass
  veltrane-cli -r -m "*.mp3" ~/Music case first-lower
                        sub-folders too, only MP3 files
  veltrane-cli ~/Scans number --start 001
                        001.pdf, 002.pdf, ...

More: veltrane-cli help TOPIC (the topics: veltrane-cli help), man veltrane-cli
)";

constexpr std::string_view kOperations = R"(  replace SEARCH REPLACE [--recursive] [--case-sensitive] [--extension]
          [--regex]
      SEARCH may hold "*" and "?"; a "." in it also searches the extension;
      each "*" and "?" of REPLACE is filled, in order, by the text the "*"
      or "?" at the same place in SEARCH matched; --recursive replaces every
      occurrence in a name (it is not -r, which enters sub-folders)
      --regex: SEARCH is a regular expression (PCRE2), over the name part, or
      the whole name with --extension; REPLACE takes $1 to $99, ${name}, $0
      (the match) and $$ (a dollar sign)
  insert TEXT [--at end|begin|offset|offset-end] [--pos N]
      TEXT goes at the end of the name (before the extension), at its
      beginning, or N characters from the beginning or the end
  remove TEXT [--recursive] [--case-sensitive]
      removes TEXT, every occurrence of it with --recursive
  remove --count N [--from begin|end|offset|offset-end] [--pos N]
      removes N characters, placed as insert places its text
  number [--start TEXT] [--increment N] [--backwards] [--base NAME] ...
      the number replaces the name, or with --base goes into NAME
      ("Original Name" stands for the file's own name); leading zeros of
      --start set the width; --at and --pos place it as insert places its text
  --fields: TEXT and NAME hold fields filled in from each file: {taken:FORMAT}
      {modified:FORMAT} (strftime, %Y-%m-%d without :FORMAT) {make} {model}
      {width} {height} {artist} {album} {title} {year} {track:00} {name};
      {{ and }} are braces. A file lacking a field is not renamed ("Error").
  case upper|lower|first|first-lower|weird [--no-extension|--extension-only]
      changes the case of the name and, unless --no-extension, the extension;
      --extension-only changes the extension alone: case lower
      --extension-only turns photo.JPG into photo.jpg
  truncate --short | --max N
      --short gives 8.3 names; --max keeps the first N characters

Limits: --pos 1 to 127, --count 0 to 127, --start 0 to 32767,
--increment 1 to 20, --max 1 to 127.

--order name (the default) sorts the files of each folder and mask by name,
letters without regard to case; --order natural puts IMG_2 before IMG_10,
comparing runs of digits as numbers; modified, taken and size sort by date
modified, date taken (files without one come after those with one, by name)
or size. --reverse turns the order round; files without a date taken still
come last. Files are handled, and numbered, in that order; with
--restart-per-folder the numbers start again in each folder.
)";

constexpr std::string_view kFiles = R"(Masks match names without regard to the case of the letters A to Z, so
"*.jpg;*.JPG" selects each file twice and handles it twice. Options may stand
before or after the other arguments; "--" ends the options. A folder named
"show", "recover" or "help" is written ./show.

Hidden files (names beginning with "."), read-only files and whatever is not
a plain file (folders, links, pipes, sockets, devices) are never renamed.
With -r, sub-folders are entered, but not hidden ones and not links.

Read-only means what stops a rename on Linux: the immutable or the
append-only flag (chattr +i, chattr +a), where the volume keeps such flags.
Permission bits do not: a file of mode 0444, as photos copied from a card or
a disc often are, is renamed like any other, since renaming changes the
folder, not the file; a folder you may not write to gives "Error" rows.
Recover follows the same rule.
)";

constexpr std::string_view kChecks = R"(Before a pass, a simulation too, the settings are checked as the window checks
them: an empty text to search, insert or remove, a search equal to its
replacement, or a replacement that cannot fit its search is refused with its
message and nothing is renamed. A replacement that may give several files the
same name or drop extensions is asked about on standard error, "[y/N]",
answered on the terminal: only y or yes goes on. Without a terminal on
standard input such a pass is refused, unless -y is given.
A simulation warns of renames that cannot all succeed. Before a real pass the
new names the volume would refuse are named on standard error, the first ten
with the reason, and going on is asked the same way: on FAT, exFAT, NTFS and
SMB volumes the characters, endings and lengths they refuse, and on any volume
a name over 255 bytes, looked for only when the settings can make one.
A file whose name does not begin with "." is never given a new name that
does (a hidden one): such a row is "Error" and says why.
)";

constexpr std::string_view kRecover = R"(  show FILE             print the rows of a result file
  recover FILE          undo the renames that a result file lists ("Ok" rows)
                        and print what was done; with --save FILE, write the
                        new rows, so that a second recover redoes the pass
  recover --last        undo the newest pass that has not been undone: its
                        journal, also of a pass that never ended (killed,
                        crashed, power lost)
  recover JOURNAL, show JOURNAL
                        the same for a journal (.vtj) named

With --save FILE (-o FILE) a real pass writes its rows to the result FILE
(replacing it); FILE must be a result file or not exist yet (it is then made
at once), else nothing is renamed.

A recover renames back only what a pass could have renamed: a regular file
that is not read-only (help files), in the folder reached from "/" through
the row's path without a link, "." or "..", and never to a hidden name. show
reads a result file row by row, and so does recover unless it saves its rows
or shows a table.
)";

constexpr std::string_view kJournal = R"(Every real pass (a recover too) first writes a journal under
$XDG_STATE_HOME/veltrane/ (~/.local/state/veltrane/ by default; the folder
is made for you alone, and a warning says when others may read it). A folder
that another user could change (it, or a folder above it up to your home,
may be written by others and is not sticky, or belongs to someone other than
you or root) is refused, with how to mend it: nothing is renamed and no
record there is read, unless --no-save is given, when a rename pass runs
without a journal and cannot be undone. Only your own regular files there,
never a link, are read as records. Each block of up to 256 renames is
written to it before the first of them is attempted, their outcomes with the
next block: whatever ends the program, SIGKILL included, no rename is left
without its row. Without --sync the journal survives the end of the program
but not a crash of the system or a power loss; with --sync (fdatasync) it
survives those too, for some time per block. At the end the journal gets its
end mark and is itself the record of the pass, kept as help history says (no
result file is made beside it, unless --save names one); records are ordered
by the UTC time inside their journals, and one that a recover has undone says
so, so recover --last passes over it. A
row of an unfinished pass whose outcome never reached the journal is settled
by looking at the disk: renamed when the file is under its new name and not
under its old one. With --no-save the journal is removed when the pass ends.
When the journal or the result file of --save cannot be written (disk full,
I/O error), standard error says how many files were renamed and which journal
holds their rows; recover undoes it all the same.

Ctrl-C, SIGTERM and SIGHUP stop a pass, and so does a reader of the output
that goes away: the rows so far are printed and saved; a recover always runs
to its end. A second signal ends the program at once; the journal holds the
rows, and recover --last undoes the pass.

Journal format (version 1): an 8-byte signature (89 56 54 4A 0D 0A 1A 0A),
then blocks of a 32-bit length, a CRC-32 of the payload and the payload (a
type byte and fields: numbers as LEB128, texts as length and bytes): a
header (version, rename or recover, UTC start in ns, folder, what), intents
(row, folder, old name, new name), outcomes (row, status, errno, name), rows
that renamed nothing, an end mark (rows, how the pass ended, rows renamed),
a recovered mark. A block that is cut short or fails its checksum ends the
journal: it is a write the program did not live to finish, and is ignored.
)";

constexpr std::string_view kHistory = R"(  history               list the kept passes, newest first: ID, start (local
                        time and its offset from UTC), folder, operation and
                        masks, rows "Ok", state
  show ID               print the rows of that pass
  recover ID            undo that pass
  recover ID --with-later
                        undo it together with every later pass that renamed
                        some of its files again, newest first

A pass is kept as its journal in $XDG_STATE_HOME/veltrane/ (help journal); the
history reads each journal's first and last blocks only, so it answers at once
however many rows the passes had. The ID is made from the journal's name and
stays the same while newer passes come; a start of it (4 digits or more) that
names one pass, or the journal's name, does too. A file of that name in the
current folder is taken first: write ./NAME for a file, the ID for a pass.

States: "can be undone"; "undone" (a recover brought every file back);
"partly undone" (a recover ran to its end and left rows: their files were
gone, or refused); "unfinished" (killed, crashed or cut off: recover undoes
what its journal holds); "running" (a pass in progress). Listed besides:
"orphan, no journal", a result file (.vtr) an older version kept beside a
journal that is gone (show and recover take it by its ID); and "recover cut
short", the journal of a recover that never ended (its folder is the record
it was undoing: recover that again, or recover --last, to finish it).

Order matters. When later passes renamed some of the same files again,
undoing the earlier one alone would only give "File not found" for them:
recover ID then says how many files and which passes, and renames nothing.
--with-later undoes them all, the newest first, each a recover with its own
journal: killed at any moment, recover --last, run until nothing is left,
brings every file back. recover JOURNAL undoes the pass alone all the same.
-f tsv gives the six cells tab-separated; -f json one object per line with
"id", "started" (ISO 8601 with offset), "folder", "operation", "ok" (null
when unknown), "state", "rows" and "journal".

In the window, Execute, "Recover an earlier pass…" lists the same; choosing
one loads its rows into the result table, and Recover undoes them.

Kept are the newest 50 passes, one journal each, and no more than 200 MB of
them (with the result files an older version kept beside its journals),
whichever is less; the newest is always kept, and so is a
pass that never ended, until it is undone. --keep-passes N and
--keep-megabytes MB set the limits for a pass; KeptPasses and KeptMegabytes
under [History] in $XDG_CONFIG_HOME/veltrane/veltrane.conf
(~/.config/veltrane/veltrane.conf) set them for the window and the command
line alike.
)";

constexpr std::string_view kChains = R"(Renumbering 1.jpg ... 10.jpg to start at 2, or swapping two names, asks a
file to take a name that another file of the pass still holds. Without
--chains the pass renames in its order and such a rename fails ("Error"),
nothing lost; a simulation says "N renames wait for each other" on standard
error.

With --chains each folder is judged whole before its first rename. A rename
whose new name is the old name of another file that the pass renames waits
until that file has moved (names compared ignoring the case of A to Z). A
ring of renames (a swap, a shift by one over a full range) is opened by
moving one of its files to a temporary name in the same folder,
.vt-ring-<16 hex digits>.tmp, and closed by moving it on from there once the
others have moved. The rows come in the order the renames are done: a file
of a ring has two rows, to the temporary name and from it, both in the
journal before they are done, so recover, also recover --last after a crash
in the middle of a ring, brings every file back and leaves no temporary name.
A simulation with --chains shows the same rows and the same temporary names,
and warns only of the renames that would still fail.
)";

constexpr std::string_view kOutput = R"(-f table gives the rows as an aligned table (the default on a terminal),
-f tsv as tab-separated lines (the default otherwise), -f json as JSON lines;
every format gives File, New Name, Path, Status.

Tab-separated cells write backslash, tab, newline and carriage return as
\\, \t, \n and \r; on a terminal other control characters, the direction
controls that reorder a line and bytes that are not UTF-8 show as \xNN, as in
the table. JSON strings give bytes that are not UTF-8 as \udcXX and controls
as \u00XX, and on a terminal the direction controls as \u202a to \u2069; in a
pipe both keep every other byte as it is. A row of status "Error" has a
"reason", and so has an "Ok" row whose rename the volume reported as failed.
Messages on standard error show names and arguments escaped as the table does.

On a terminal a pass that takes more than a second shows its progress on
standard error, and a line on standard error counts the rows by status after
a pass.
)";

constexpr std::string_view kExit = R"(0 when every row is fine, 1 when a row says "Error" or "File not found" or a
folder could not be read, 2 for a usage error, a pass the checks refuse or a
result file that cannot be read or written, 130 after Ctrl-C, 143 after
SIGTERM, 129 after SIGHUP.
)";

// A topic added here is listed by `help` and goes into the manual page.
constexpr std::array kTopics = {
    THelpTopic{"operations", "Operations in detail", "what each operation does, its limits, the order", kOperations},
    THelpTopic{"files", "Which files", "masks, hidden and read-only files, what is never renamed", kFiles},
    THelpTopic{"checks", "Checks before a pass", "what is refused or asked about before a pass", kChecks},
    THelpTopic{"chains", "Renames that make room for each other", "--chains: shifts, swaps and rings", kChains},
    THelpTopic{"recover", "Result files and recover", "show, recover and what recover renames back", kRecover},
    THelpTopic{"journal", "The journal", "the record written ahead of renames, signals, its format", kJournal},
    THelpTopic{"history", "History", "the kept passes, and undoing an earlier one", kHistory},
    THelpTopic{"output", "Output", "the formats of the rows and how names are escaped", kOutput},
    THelpTopic{"exit", "Exit status", "what the exit status says", kExit},
};

}  // namespace

std::string_view UsageText() { return kUsage; }

std::span<const THelpTopic> HelpTopics() { return kTopics; }

const THelpTopic* FindHelpTopic(std::string_view name) {
  const auto* found =
      std::find_if(kTopics.begin(), kTopics.end(), [&](const THelpTopic& topic) { return topic.Name == name; });
  return found == kTopics.end() ? nullptr : &*found;
}

std::string HelpTopicText(const THelpTopic& topic) {
  return std::string(topic.Heading) + "\n\n" + std::string(topic.Text);
}

std::string HelpTopicList() {
  std::string list = "Topics of veltrane-cli help TOPIC:\n";
  for (const THelpTopic& topic : kTopics) {
    std::string line = "  " + std::string(topic.Name);
    line.resize(std::max<std::size_t>(line.size() + 2, 14), ' ');
    list += line + std::string(topic.Summary) + "\n";
  }
  return list;
}

}  // namespace vt
