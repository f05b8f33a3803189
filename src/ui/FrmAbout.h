#pragma once
// The About box: made once at start-up, shown modally from the Help menu as
// often as asked, always the same and centred on the screen. OK, Enter and
// Escape close it (it has nothing to cancel: Escape is OK too).
#include <QDialog>

class QLabel;
class QPushButton;

namespace vt {

inline constexpr char kAuthorLine[] = "2026 The Veltrane developers";
inline constexpr char kContactLine[] = "team@veltrane.invalid";

class TFrmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmAbout(QWidget* parent = nullptr);

  void BitBtn1Click();

  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* LblVersion = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QPushButton* BitBtn1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vt
