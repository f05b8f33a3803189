#pragma once
// "Recover an earlier pass": the kept passes, newest first, in a window of
// their own. The list is read on a worker (each journal's two ends), so the
// window opens at once and its thread never waits for the disk; the rows are
// in a model, where tests and screen readers read them. Choosing a pass hands
// it to the main window, which loads its rows for Recover.
#include <QWidget>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "results/PassHistory.h"

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTreeView;

namespace vt {

class THistoryWindow : public QWidget {
  Q_OBJECT
 public:
  // folder: of the records, ending with "/".
  explicit THistoryWindow(std::string folder, QWidget* parent = nullptr);
  ~THistoryWindow() override;
  THistoryWindow(const THistoryWindow&) = delete;
  THistoryWindow& operator=(const THistoryWindow&) = delete;

  // Shows the window and reads the list anew on a worker.
  void ShowHistory();
  // Reads the list anew, on a worker.
  void Refresh() { Read(); }
  // The list is being read.
  bool Reading() const;
  // What the list shows, newest first.
  const std::vector<THistoryEntry>& Entries() const { return Entries_; }

  // Called with the entries and the index chosen ("Load" or Enter on a row).
  std::function<void(const std::vector<THistoryEntry>&, std::size_t)> Chosen;

  QTreeView* LstHistory = nullptr;
  QStandardItemModel* HistoryModel = nullptr;
  QLabel* LblHistory = nullptr;
  QPushButton* BtHistoryLoad = nullptr;
  QPushButton* BtHistoryClose = nullptr;

 private:
  void Read();
  // On the window thread, once the worker has read the list.
  void TakeEntries();
  void Fill();
  void ChooseCurrent();

  std::string Folder_;
  std::vector<THistoryEntry> Entries_;
  mutable std::mutex Mutex_;
  std::optional<std::vector<THistoryEntry>> Read_;  // under Mutex_: what the worker read
  bool Reading_ = false;                            // under Mutex_
  std::jthread Worker_;                             // last: joined before what it uses goes
};

// What the window shows of a pass, for its list and the main window's boxes.
QString HistoryStateText(const THistoryEntry& entry);
QString HistoryStartText(std::uint64_t utcNs);

}  // namespace vt
