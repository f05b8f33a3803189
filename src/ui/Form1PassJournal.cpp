#include "ui/Form1PassJournal.h"

#include <cstdio>
#include <cstdlib>

#include "platform/SysErrorText.h"
#include "results/AutomaticResultFiles.h"
#include "results/PassRecord.h"
#include "results/Retention.h"
#include "ui/ErrorWords.h"
#include "ui/MessageBoxes.h"

namespace vt {
namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(bytes); }

QString FilesRenamed(std::uint64_t renamed) {
  return renamed == 1 ? QStringLiteral("1 file was renamed") : QString("%1 files were renamed").arg(renamed);
}

QString RecordFailureText(const TPassRecord& record) {
  QString why;
  if (record.JournalError)
    why = QString("The journal %1 could not be written (%2): the pass stopped before its next rename.")
              .arg(Text(record.Journal), ErrorReason(*record.JournalError));
  else if (record.ReadError)
    why = QString("The journal %1 could not be read back (%2).")
              .arg(Text(record.Journal), ErrorReason(*record.ReadError));
  else
    why = QString("The result file of the pass could not be saved: %1%2.")
              .arg(Text(ResultFileMessage(record.Saved.Error())),
                   record.Saved.Error().SystemError != 0
                       ? " (" + Text(SysErrorText(record.Saved.Error().SystemError)) + ")"
                       : QString());
  return why + "\n\n" + FilesRenamed(record.Renamed) + "; their rows are in " + Text(record.Journal) +
         ". Recover in this window, or veltrane-cli recover " + Text(record.Journal) + ", undoes them.";
}

QString FolderRefusalText(const TUntrustedFolder& refused) {
  const QString path = Text(refused.Path);
  switch (refused.Fault) {
    case TFolderFault::OthersCanWrite:
      return QString(
                 "Other users can write to %1, so they could swap or plant the records of your passes. "
                 "Make it yours alone (chmod go-w %1), then try again.")
          .arg(path);
    case TFolderFault::OwnedByOther:
      return QString(
                 "%1 belongs to another user (uid %2), who could swap or plant the records of your passes. "
                 "Use a folder of your own (move %1 away, or set XDG_STATE_HOME), then try again.")
          .arg(path)
          .arg(refused.Owner);
    case TFolderFault::CannotCheck: break;
  }
  return QString("Veltrane cannot check who may change %1 (%2).").arg(path, Text(SysErrorText(refused.Error)));
}

// Why a journal could not be made; a folder another user could change is said on its own.
QString JournalStartText(const TJournalStart& start) {
  const QString folder = Text(start.Folder);
  const QString why = ErrorReason(start.Error);
  switch (start.Failure) {
    case TJournalFailure::FolderNotMade: return QString("cannot create %1: %2").arg(folder, why);
    case TJournalFailure::JournalNotMade:
      return QString("cannot create the journal of the pass in %1: %2").arg(folder, why);
    case TJournalFailure::FolderRefused: return FolderRefusalText(*start.Refused);
    case TJournalFailure::None: break;
  }
  return {};
}

// The recover ran, but the pass it undid does not say so: it would be offered again.
QString MarkFailureText(const TPassRecord& record, const std::string& undone) {
  return QString(
             "The files were renamed back, but the journal %1 could not be marked as undone (%2).\n\n"
             "Veltrane may offer that pass for Recover again; renaming back what is already back changes nothing.")
      .arg(Text(undone), ErrorReason(*record.MarkError));
}

void Report(const QString& text, TForm1PassJournal::TFailureReport report) {
  if (report == TForm1PassJournal::TFailureReport::Box) {
    ShowMessageBox(TMessageKind::Error, text);
    return;
  }
  std::fprintf(stderr, "veltrane: %s\n", QString(text).replace("\n\n", " ").toLocal8Bit().constData());
}

void ReportRecordFailure(const TPassRecord& record, TForm1PassJournal::TFailureReport report) {
  Report(RecordFailureText(record), report);
}

}  // namespace

std::optional<std::string> RecordsFolder() {
  return AutomaticFolder([](const char* name) { return std::getenv(name); });
}

bool TForm1PassJournal::Start(TJournalKind kind, const std::string& folder, const std::string& what) {
  Writer_.reset();
  const std::optional<std::string> records = RecordsFolder();
  if (!records) {
    ShowMessageBox(TMessageKind::Error,
                   "Nothing was renamed: there is no folder for the journal of the pass (HOME is not set).");
    return false;
  }
  auto writer = std::make_unique<TPassJournalWriter>();
  const TJournalStart start =
      StartPassJournal(*records, TJournalHeader{kind, 0, folder, what}, std::nullopt, TDurability::Kernel, *writer);
  if (start.Refused) {
    ShowMessageBox(TMessageKind::Error,
                   "Nothing was renamed: no journal of the pass is kept in a folder another "
                   "user could change.\n\n" +
                       FolderRefusalText(*start.Refused));
    return false;
  }
  if (start.Access == TFolderAccess::OpenToOthers)
    ShowMessageBox(TMessageKind::Information, OpenFolderWarning(start.Folder));
  if (!start.Created()) {
    ShowMessageBox(TMessageKind::Error, "Nothing was renamed: " + JournalStartText(start) + ".");
    return false;
  }
  Writer_ = std::move(writer);
  Kind_ = kind;
  return true;
}

void TForm1PassJournal::Finish(bool stopped, TFailureReport report) {
  if (!Writer_) return;
  std::unique_ptr<TPassJournalWriter> writer = std::move(Writer_);
  if (Kind_ == TJournalKind::Recover) {
    const TPassRecord record =
        EndRecoverJournal(*writer, TableJournal_, stopped ? TPassStopped::Yes : TPassStopped::No);
    if (record.JournalError) {
      ReportRecordFailure(record, report);
      return;
    }
    if (record.MarkError) Report(MarkFailureText(record, TableJournal_), report);
    TableJournal_.clear();
    return;
  }
  Keeper_.Keep(std::move(writer), stopped ? TPassStopped::Yes : TPassStopped::No,
               ReadRetention([](const char* name) { return std::getenv(name); }));
}

void TForm1PassJournal::TakeRecord(TFailureReport report) {
  const std::optional<TPassRecord> record = Keeper_.Take();
  if (!record) return;
  // The rows now in the table are this journal's, kept as its record; set
  // before the box, whose own loop may run a command that asks for it.
  TableJournal_ = record->Record.empty() && record->Ok() ? std::string() : record->Journal;
  if (!record->Ok()) ReportRecordFailure(*record, report);
}

}  // namespace vt
