#include "ui/InputFilters.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>

#include "browse/ApplicationError.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

// The one character a key press types; none for keys that type nothing, and
// for the rare key that types several (those go the way of pasted text).
std::optional<char32_t> TypedChar(const QKeyEvent& key) {
  const QList<uint> chars = key.text().toUcs4();
  if (chars.size() != 1) return std::nullopt;
  return static_cast<char32_t>(chars.front());
}

std::string Utf8(const QString& text) { return text.toStdString(); }

// Where after differs from before: the common start and end left out.
struct TEditSpan {
  qsizetype Prefix;
  qsizetype Suffix;
};
TEditSpan Span(const QString& before, const QString& after) {
  const qsizetype shorter = std::min(before.size(), after.size());
  qsizetype prefix = 0;
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) ++suffix;
  return {prefix, suffix};
}

void ReportConversionError(const QString& text) {
  ReportApplicationError(QString("'%1' is not a valid integer value").arg(text));
}

}  // namespace

TInputFilters::TInputFilters(QObject* parent) : QObject(parent) {}

void TInputFilters::Watch(QLineEdit* field, KeyPressHandler keyPress, KeyUpHandler keyUp, PasteHandler paste) {
  Fields_[field] = TField{std::move(keyPress), std::move(keyUp), std::move(paste), field->text(), {}, false};
  field->installEventFilter(this);
  connect(field, &QLineEdit::textEdited, this, [this, field] { Edited(field); });
  connect(field, &QLineEdit::textChanged, this, [this, field](const QString& text) {
    const auto it = Fields_.find(field);
    if (it != Fields_.end()) it->second.Text = text;
  });
  connect(field, &QObject::destroyed, this, [this, field] { Fields_.erase(field); });
}

bool TInputFilters::eventFilter(QObject* watched, QEvent* event) {
  const auto it = Fields_.find(watched);
  if (it == Fields_.end()) return QObject::eventFilter(watched, event);
  auto* field = static_cast<QLineEdit*>(watched);
  if (event->type() == QEvent::KeyPress) return KeyPress(field, it->second, event);
  if (event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat() && it->second.KeyUp) it->second.KeyUp(field, key->key());
  }
  return QObject::eventFilter(watched, event);
}

bool TInputFilters::KeyPress(QLineEdit* field, TField& handlers, QEvent* event) {
  auto* key = static_cast<QKeyEvent*>(event);
  // Pasting types no character: the text it brings is judged once it is in.
  if (key->matches(QKeySequence::Paste)) return false;
  const std::optional<char32_t> typed = TypedChar(*key);
  if (!typed || !handlers.KeyPress) return false;
  char32_t c = *typed;
  handlers.KeyPress(field, c);
  if (c == 0) return true;
  // Keys such as Enter, Escape or Backspace go their usual way (a window may
  // want them); what they change is judged as pasted text, which they never add.
  if (c < U' ' || c == U'\x7f') return false;
  // The field handles the key now, so that its edit is known to be typed.
  Typing_ = field;
  static_cast<QObject*>(field)->event(event);
  Typing_ = nullptr;
  return true;
}

void TInputFilters::Edited(QLineEdit* field) {
  if (field == Typing_) return;
  TField& handlers = Fields_.at(field);
  if (!handlers.Paste || handlers.PastePending) return;
  // Judged once the field has finished the edit and told everyone of it.
  handlers.PastePending = true;
  handlers.BeforePaste = handlers.Text;
  QMetaObject::invokeMethod(
      this, [this, field] { HandPaste(field); }, Qt::QueuedConnection);
}

void TInputFilters::HandPaste(QLineEdit* field) {
  const auto it = Fields_.find(field);
  if (it == Fields_.end()) return;
  it->second.PastePending = false;
  it->second.Paste(field, it->second.BeforePaste);
}

void FilterTypedChar(TTextField field, char32_t& key) {
  if (!TextFieldAccepts(field, key)) key = 0;
}

void FilterTypedChar(TTextField field, TFieldChars fields, const QLineEdit* edit, char32_t& key) {
  if (fields == TFieldChars::Fields && InsideField(edit->text().left(edit->cursorPosition()).toStdString())) return;
  FilterTypedChar(field, key);
}

void FilterPastedText(TTextField field, QLineEdit* edit, TFieldChars fields) {
  const QString text = edit->text();
  QString kept;
  kept.reserve(text.size());
  const int cursor = edit->cursorPosition();
  int keptBeforeCursor = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool inField = fields == TFieldChars::Fields && InsideField(kept.toStdString());
    // Every refused character is ASCII: no half of a surrogate pair is.
    if (!inField && !TextFieldAccepts(field, text[i].unicode())) continue;
    kept += text[i];
    if (i < cursor) ++keptBeforeCursor;
  }
  if (kept == text) return;
  edit->setText(kept);
  edit->setCursorPosition(keptBeforeCursor);
}

void ApplyExtensionChange(TExtensionChange change, QCheckBox* treatExtension, QCheckBox* recursive) {
  switch (change) {
    case TExtensionChange::None: return;
    case TExtensionChange::Check:
      treatExtension->setChecked(true);
      recursive->setEnabled(false);
      return;
    case TExtensionChange::Uncheck:
      treatExtension->setChecked(false);
      recursive->setEnabled(true);
      return;
  }
}

void NumberFieldKeyPress(QLineEdit* edit, const TUpDown* arrows, char32_t& key) {
  const char32_t typed = key;
  const QString text = edit->text();
  switch (NumberKeyPress(Utf8(text), typed, arrows->Max())) {
    case TNumberKey::Insert: return;
    case TNumberKey::Drop: break;
    case TNumberKey::SetMaximum: edit->setText(QString::number(arrows->Max())); break;
    case TNumberKey::ConversionError:
      key = 0;
      ReportConversionError(text + QChar(static_cast<char16_t>(typed)));
      return;
  }
  key = 0;
}

void NumberFieldKeyUp(QLineEdit* edit, const TUpDown* arrows, int key) {
  if (key != Qt::Key_Delete) return;
  if (const std::optional<std::string> text = NumberTextAfterDelete(Utf8(edit->text()), arrows->Min()))
    edit->setText(QString::fromStdString(*text));
}

void NumberFieldPaste(QLineEdit* edit, const TUpDown* arrows, const QString& before) {
  const QString after = edit->text();
  const TEditSpan span = Span(before, after);
  const QString inserted = after.mid(span.Prefix, after.size() - span.Prefix - span.Suffix);
  if (inserted.isEmpty()) return;  // only taken away
  const TNumberPaste paste =
      NumberPaste(Utf8(before.left(span.Prefix)), Utf8(inserted), Utf8(before.right(span.Suffix)), arrows->Max());
  if (paste.Outcome == TNumberKey::ConversionError) {
    edit->setText(before);
    ReportConversionError(after);
    return;
  }
  const QString text = QString::fromStdString(paste.Text);
  if (text != after) edit->setText(text);
}

}  // namespace vt
