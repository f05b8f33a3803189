#include "ui/HelpWindow.h"

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
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

QRect HelpWindowPlace(const QRect& available, const QRect& mainFrame, const QSize& size) {
  const QSize fitted = size.boundedTo(available.size());
  int left = mainFrame.right() + 1;
  if (left + fitted.width() - 1 > available.right()) left = mainFrame.left() - fitted.width();
  if (left < available.left()) left = available.right() - fitted.width() + 1;
  const int top = std::clamp(mainFrame.top(), available.top(), available.bottom() - fitted.height() + 1);
  return {QPoint(left, top), fitted};
}

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
  LblHelpNoTopic = new QLabel;
  LblHelpNoTopic->setObjectName("LblHelpNoTopic");
  LblHelpNoTopic->setWordWrap(true);
  LblHelpNoTopic->hide();
  leftLayout->addWidget(LblHelpNoTopic);

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
  connect(HelpBrowser, &QTextBrowser::sourceChanged, this, &THelpWindow::FitPictures);
  HelpBrowser->viewport()->installEventFilter(this);

  // Closes as other windows of the desktop do: Escape, and Ctrl+W.
  auto* closeAction = new QAction(this);
  closeAction->setObjectName("HelpCloseAction");
  closeAction->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
  closeAction->setShortcutContext(Qt::WindowShortcut);
  connect(closeAction, &QAction::triggered, this, &QWidget::close);
  addAction(closeAction);
}

bool THelpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == HelpBrowser->viewport() && event->type() == QEvent::Resize) FitPictures();
  return QWidget::eventFilter(watched, event);
}

void THelpWindow::FitPictures() {
  QTextDocument* document = HelpBrowser->document();
  const qreal room = HelpBrowser->viewport()->width() - 2 * document->documentMargin() - 4;
  if (room <= 0) return;
  QTextCursor cursor(document);
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      QTextImageFormat image = fragment.charFormat().toImageFormat();
      if (!image.isValid()) continue;
      const QImage picture = document->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
      if (picture.isNull()) continue;
      // Never wider than the picture itself; the height follows its proportions.
      const qreal width = std::min<qreal>(picture.width(), room);
      if (qFuzzyCompare(image.width(), width)) continue;
      image.setWidth(width);
      image.setHeight(width * picture.height() / picture.width());
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(image);
    }
  }
}

void THelpWindow::PlaceBesideParent() {
  const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
  QScreen* screen = main ? main->screen() : this->screen();
  if (!screen) return;
  const QRect frame = main ? main->frameGeometry() : QRect(screen->availableGeometry().topLeft(), QSize(0, 0));
  // The frame the desktop adds around the client area; before the first showing, as the main window's.
  const QWidget* framed = isVisible() || !main ? static_cast<const QWidget*>(this) : main;
  const QSize extra = framed->frameGeometry().size() - framed->size();
  const QRect place = HelpWindowPlace(screen->availableGeometry(), frame, size() + extra);
  resize(place.size() - extra);
  move(place.topLeft());
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
  // Placed when it opens; moved by the user afterwards, it stays where it was put.
  if (!isVisible()) PlaceBesideParent();
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
  const bool none = LstHelpTopics->count() == 0 && !words.trimmed().isEmpty();
  LblHelpNoTopic->setText(none ? QStringLiteral("No topic contains \u201C%1\u201D.").arg(words.trimmed()) : QString());
  LblHelpNoTopic->setVisible(none);
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
