#include "ui/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace vt {
namespace {

// One topic a line: the page's file name, a blank, the title.
constexpr char kContents[] = "contents.txt";

QString ReadText(const QString& path, bool& ok) {
  QFile file(path);
  ok = file.open(QIODevice::ReadOnly);
  return ok ? QString::fromUtf8(file.readAll()) : QString();
}

QString PlainText(const QString& html) {
  QTextDocument document;
  document.setHtml(html);
  return document.toPlainText();
}

}  // namespace

THelpWindow::THelpWindow(QWidget* parent, const QString& root) : QWidget(parent, Qt::Window), Root_(root) {
  setObjectName("HelpWindow");
  setWindowTitle("Veltrane Help");
  resize(860, 600);

  auto* left = new QWidget;
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  auto* searchLabel = new QLabel("&Find topics containing:");
  EdHelpSearch = new QLineEdit;
  EdHelpSearch->setObjectName("EdHelpSearch");
  EdHelpSearch->setClearButtonEnabled(true);
  searchLabel->setBuddy(EdHelpSearch);
  LstHelpTopics = new QListWidget;
  LstHelpTopics->setObjectName("LstHelpTopics");
  leftLayout->addWidget(searchLabel);
  leftLayout->addWidget(EdHelpSearch);
  leftLayout->addWidget(LstHelpTopics, 1);

  HelpBrowser = new QTextBrowser;
  HelpBrowser->setObjectName("HelpBrowser");
  HelpBrowser->setSearchPaths({Root_});
  HelpBrowser->setOpenExternalLinks(true);

  auto* splitter = new QSplitter;
  splitter->addWidget(left);
  splitter->addWidget(HelpBrowser);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, 640});
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(splitter);

  connect(EdHelpSearch, &QLineEdit::textChanged, this, &THelpWindow::FilterTopics);
  connect(LstHelpTopics, &QListWidget::currentRowChanged, this, &THelpWindow::TopicChosen);
  connect(HelpBrowser, &QTextBrowser::sourceChanged, this, &THelpWindow::PageShown);
}

bool THelpWindow::LoadManual() {
  if (!Topics_.empty()) return true;
  bool ok = false;
  const QString contents = ReadText(Root_ + "/" + kContents, ok);
  if (!ok) return false;
  std::vector<THelpTopic> topics;
  for (const QString& line : contents.split('\n', Qt::SkipEmptyParts)) {
    const qsizetype blank = line.indexOf(' ');
    if (blank <= 0) continue;
    THelpTopic topic{line.left(blank), line.mid(blank + 1).trimmed(), {}};
    const QString html = ReadText(Root_ + "/" + topic.Page, ok);
    if (!ok) return false;
    topic.Text = PlainText(html);
    topics.push_back(std::move(topic));
  }
  if (topics.empty()) return false;
  Topics_ = std::move(topics);
  FilterTopics(EdHelpSearch->text());
  return true;
}

void THelpWindow::ShowTopics() {
  if (HelpBrowser->source().isEmpty() && !Topics_.empty()) ShowPage(Topics_.front().Page);
  show();
  raise();
  activateWindow();
  LstHelpTopics->setFocus();
}

void THelpWindow::ShowPage(const QString& page) { HelpBrowser->setSource(QUrl("qrc" + Root_ + "/" + page)); }

std::vector<int> THelpWindow::Find(const QString& words) const {
  const QStringList wanted = words.split(' ', Qt::SkipEmptyParts);
  std::vector<int> found;
  for (std::size_t i = 0; i < Topics_.size(); ++i) {
    const THelpTopic& topic = Topics_[i];
    const bool all = std::all_of(wanted.begin(), wanted.end(), [&](const QString& word) {
      return topic.Title.contains(word, Qt::CaseInsensitive) || topic.Text.contains(word, Qt::CaseInsensitive);
    });
    if (all) found.push_back(static_cast<int>(i));
  }
  return found;
}

void THelpWindow::FilterTopics(const QString& words) {
  const QSignalBlocker quiet(LstHelpTopics);
  LstHelpTopics->clear();
  for (const int index : Find(words)) {
    auto* item = new QListWidgetItem(Topics_[static_cast<std::size_t>(index)].Title, LstHelpTopics);
    item->setData(Qt::UserRole, Topics_[static_cast<std::size_t>(index)].Page);
  }
  PageShown(HelpBrowser->source());
}

void THelpWindow::TopicChosen() {
  if (const QListWidgetItem* item = LstHelpTopics->currentItem()) ShowPage(item->data(Qt::UserRole).toString());
}

void THelpWindow::PageShown(const QUrl& url) {
  // The list follows a page reached through a link.
  const QString page = QFileInfo(url.path()).fileName();
  const QSignalBlocker quiet(LstHelpTopics);
  for (int row = 0; row < LstHelpTopics->count(); ++row) {
    if (LstHelpTopics->item(row)->data(Qt::UserRole).toString() == page) {
      LstHelpTopics->setCurrentRow(row);
      return;
    }
  }
  LstHelpTopics->setCurrentRow(-1);
}

}  // namespace vt
