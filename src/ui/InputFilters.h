#pragma once
// The key rules of the settings' fields. One event filter hands every typed
// character of a watched field to the field's key-press handler, which may drop
// it, and every released key to its key-up handler. Text that arrives otherwise
// (pasted by keyboard, menu or mouse, dropped, composed) goes to the field's
// paste handler once it is in, with the text the field had before.
#include <QObject>
#include <QString>
#include <functional>
#include <map>

#include "engine/InputRules.h"

class QCheckBox;
class QLineEdit;

namespace vt {

class TUpDown;

class TInputFilters : public QObject {
  Q_OBJECT
 public:
  // key set to 0 drops the character.
  using KeyPressHandler = std::function<void(QLineEdit* sender, char32_t& key)>;
  using KeyUpHandler = std::function<void(QLineEdit* sender, int key)>;
  using PasteHandler = std::function<void(QLineEdit* sender, const QString& before)>;

  explicit TInputFilters(QObject* parent = nullptr);

  void Watch(QLineEdit* field, KeyPressHandler keyPress, KeyUpHandler keyUp, PasteHandler paste);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TField {
    KeyPressHandler KeyPress;
    KeyUpHandler KeyUp;
    PasteHandler Paste;
    QString Text;         // as the field last showed it
    QString BeforePaste;  // the text before an edit not yet handed to Paste
    bool PastePending = false;
  };
  bool KeyPress(QLineEdit* field, TField& handlers, QEvent* event);
  void Edited(QLineEdit* field);
  void HandPaste(QLineEdit* field);

  std::map<const QObject*, TField> Fields_;
  const QLineEdit* Typing_ = nullptr;
};

// Whether a text field holds fields ("Use fields"): inside one, any character goes.
enum class TFieldChars : std::uint8_t { Literal, Fields };

// The rules the window's handlers apply.
void FilterTypedChar(TTextField field, char32_t& key);
void FilterTypedChar(TTextField field, TFieldChars fields, const QLineEdit* edit, char32_t& key);
// Pasted text loses the characters the field refuses.
void FilterPastedText(TTextField field, QLineEdit* edit, TFieldChars fields = TFieldChars::Literal);
// "Treat file extension" and "Recursive" as the dot of the search pattern sets them.
void ApplyExtensionChange(TExtensionChange change, QCheckBox* treatExtension, QCheckBox* recursive);
void NumberFieldKeyPress(QLineEdit* edit, const TUpDown* arrows, char32_t& key);
void NumberFieldKeyUp(QLineEdit* edit, const TUpDown* arrows, int key);
void NumberFieldPaste(QLineEdit* edit, const TUpDown* arrows, const QString& before);

}  // namespace vt
