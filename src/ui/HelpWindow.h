#pragma once
// The program's manual in a window of its own: the list of topics, the selected
// topic beside it, and a search field that keeps in the list only the topics
// whose text holds every word typed. Pages are HTML compiled into the program.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QRect;
class QSize;
class QListWidget;
class QTextBrowser;
class QUrl;

namespace vt {

// Where the manual is compiled in.
inline constexpr char kManualRoot[] = ":/help";

// Where a help window of size opens: beside the main window's frame (right,
// else left), top edges level, always wholly within the screen's available area.
QRect HelpWindowPlace(const QRect& available, const QRect& mainFrame, const QSize& size);

struct THelpTopic {
  QString Page;  // file name within the manual, e.g. "recover.html"
  QString Title;
  QString Text;  // the page as plain text, for searching
};

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit THelpWindow(QWidget* parent = nullptr, const QString& root = kManualRoot);

  // Reads the list of topics and every page; false when the manual is missing.
  bool LoadManual();
  const std::vector<THelpTopic>& Topics() const { return Topics_; }

  // Shows the window at the topics list, with the first topic or the one shown last.
  void ShowTopics();
  void ShowPage(const QString& page);
  // Indexes of the topics whose title or text holds every word of words, ignoring case.
  std::vector<int> Find(const QString& words) const;

  QLineEdit* EdHelpSearch = nullptr;
  QListWidget* LstHelpTopics = nullptr;
  QTextBrowser* HelpBrowser = nullptr;
  // "No topic contains …" when a search finds nothing.
  QLabel* LblHelpNoTopic = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceBesideParent();
  // Pictures wider than the page are shown at its width.
  void FitPictures();
  void FilterTopics(const QString& words);
  void TopicChosen();
  void PageShown(const QUrl& url);

  QString Root_;
  std::vector<THelpTopic> Topics_;
};

}  // namespace vt
