#include "cli/Usage.h"

namespace vt {

std::string_view UsageText() {
  return R"(Usage: veltrane-cli [PASS OPTIONS] FOLDER OPERATION [OPERATION OPTIONS]
       veltrane-cli show FILE [-f FORMAT]
       veltrane-cli recover FILE|--last [--save FILE] [-f FORMAT]

Renames the files of FOLDER that the masks select, with one of six operations.
Without -x the pass is a simulation: it shows what would be renamed and renames
nothing. Nothing is ever overwritten. Options may stand before or after the
other arguments; "--" ends the options.

Pass options:
  -m, --masks MASKS     masks separated by ";" (default "*.*")
  -r, --subdirs         include sub-folders (hidden ones and those whose name
                        begins with "." are never entered)
  -x, --rename          rename for real (without it the pass is a simulation)
  -a, --all             record "No Match" rows too
  -y, --yes             answer yes to every question asked before the pass
      --order name|natural|modified|taken|size
                        the order files are handled and numbered in, within
                        each folder and mask: by name (default; letters
                        without regard to case), natural (IMG_2 before
                        IMG_10: runs of digits compared as numbers), date
                        modified, date taken (files without one come after
                        those with one, by name) or size
      --reverse         the order turned round; files without a date taken
                        still come last
      --restart-per-folder
                        number the files of each folder from the start again
  -f, --format table|tsv|json
                        rows as an aligned table (default on a terminal),
                        tab-separated lines (default otherwise) or JSON lines;
                        every format gives File, New Name, Path, Status
  -o, --save FILE       after a real pass, write its rows to the result FILE
                        (replacing it), so that recover can undo the pass later;
                        FILE must be a result file or not exist yet (it is then
                        made at once), else nothing is renamed
      --no-save         keep no automatic result file (see below)
      --sync            put each block of the journal on disk (fdatasync)
                        before its renames, so that the record survives a
                        power loss too (see below)

Operations:
  replace SEARCH REPLACE [--recursive] [--case-sensitive] [--extension]
      SEARCH may hold "*" and "?"; a "." in it also searches the extension;
      each "*" and "?" of REPLACE is filled, in order, by the text the "*"
      or "?" at the same place in SEARCH matched; --recursive replaces every
      occurrence in a name (it is not -r, which enters sub-folders)
  insert TEXT [--at end|begin|offset|offset-end] [--pos N] [--fields]
  remove TEXT [--recursive] [--case-sensitive]
  remove --count N [--from begin|end|offset|offset-end] [--pos N]
  number [--start TEXT] [--increment N] [--backwards]
         [--base NAME] [--at end|begin|offset|offset-end] [--pos N] [--fields]
      the number replaces the name, or with --base goes into NAME
      ("Original Name" stands for the file's own name); leading zeros of
      --start set the width
  --fields: TEXT and NAME hold fields filled in from each file: {taken:FORMAT}
      {modified:FORMAT} (strftime, %Y-%m-%d without :FORMAT) {make} {model}
      {width} {height} {artist} {album} {title} {year} {track:00} {name};
      {{ and }} are braces. A file lacking a field is not renamed ("Error").
  case upper|lower|first|first-lower|weird [--no-extension]
  truncate --short | --max N

Masks match names without regard to the case of the letters A to Z, so
"*.jpg;*.JPG" selects each file twice and handles it twice. Hidden files
(names beginning with "."), read-only files and whatever is not a plain file
are never renamed.

Before a pass, a simulation too, the settings are checked as the window checks
them: an empty text to search, insert or remove, a search equal to its
replacement, or a replacement that cannot fit its search is refused with its
message and nothing is renamed. A replacement that may give several files the
same name or drop extensions is asked about on standard error, "[y/N]",
answered on the terminal: only y or yes goes on. Without a terminal on
standard input such a pass is refused, unless -y is given.

Limits: --pos 1 to 127, --count 0 to 127, --start 0 to 32767,
--increment 1 to 20, --max 1 to 127.

Result files:
  show FILE             print the rows of a result file
  recover FILE          undo the renames that a result file lists ("Ok" rows)
                        and print what was done; with --save FILE, write the
                        new rows, so that a second recover redoes the pass
  recover --last        undo the newest pass that has not been undone: its
                        automatic result file, or the journal of a pass that
                        never ended (killed, crashed, power lost)
  recover JOURNAL, show JOURNAL
                        the same for a journal (.vtj) named

A recover renames back only what a pass could have renamed: a regular file
that is not read-only, in the folder reached from "/" through the row's path
without a link, "." or "..", and never to a hidden name. show reads a result
file row by row, and so does recover unless it saves its rows or shows a table.

Every real pass (a recover too) first writes a journal under
$XDG_STATE_HOME/veltrane/ (~/.local/state/veltrane/ by default; the folder
is made for you alone, and a warning says when others may read it). Each
block of up to 256 renames is written to it before the first of them is
attempted, their outcomes with the next block: whatever ends the program,
SIGKILL included, no rename is left without its row. Without --sync the
journal survives the end of the program but not a crash of the system or a
power loss; with --sync it survives those too, for some time per block.
At the end the journal becomes the automatic result file of the pass (same
name, .vtr), newest 50 kept; records are ordered by the UTC time inside
their journals, and one that a recover has undone says so, so recover --last
passes over it. A row of an unfinished pass whose outcome never reached the
journal is settled by looking at the disk: renamed when the file is under
its new name and not under its old one. With --no-save the journal is
removed when the pass ends. When the record cannot be written at the end
(disk full, I/O error), standard error says how many files were renamed and
which journal holds their rows; recover undoes it all the same.

Journal format (version 1): an 8-byte signature (89 56 54 4A 0D 0A 1A 0A),
then blocks of a 32-bit length, a CRC-32 of the payload and the payload (a
type byte and fields: numbers as LEB128, texts as length and bytes): a
header (version, rename or recover, UTC start in ns, folder, masks), intents
(row, folder, old name, new name), outcomes (row, status, errno, name),
rows that renamed nothing, an end mark, a recovered mark. A block that is
cut short or fails its checksum ends the journal: it is a write the program
did not live to finish, and is ignored.

Ctrl-C, SIGTERM and SIGHUP stop a pass, and so does a reader of the output
that goes away: the rows so far are printed and saved; a recover always runs
to its end. A second signal ends the program at once; the journal holds the
rows, and recover --last undoes the pass.
On a terminal a pass that takes more than a second shows its progress on
standard error. A folder named "show" or "recover" is written ./show.

Tab-separated cells write backslash, tab, newline and carriage return as
\\, \t, \n and \r; on a terminal other control characters, the direction
controls that reorder a line and bytes that are not UTF-8 show as \xNN, as in
the table. JSON strings give bytes that are not UTF-8 as \udcXX and controls
as \u00XX, and on a terminal the direction controls as \u202a to \u2069; in a
pipe both keep every other byte as it is. A row of status "Error" has a
"reason", and so has an "Ok" row whose rename the volume reported as failed.
Messages on standard error show names and arguments escaped as the table does.
On a terminal a line on standard error counts the rows by status after a pass.
A simulation warns of renames that cannot all succeed.

Exit status: 0 when every row is fine, 1 when a row says "Error" or "File not
found" or a folder could not be read, 2 for a usage error, a pass the checks
refuse or a result file that cannot be read or written,
130 after Ctrl-C, 143 after SIGTERM, 129 after SIGHUP.

  -h, --help            show this help
      --version         show the version
)";
}

}  // namespace vt
