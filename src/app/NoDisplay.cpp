#include "app/NoDisplay.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>

namespace vt {

namespace {

struct THeldMessage {
  QtMsgType Type;
  QByteArray Category;
  QString Text;
};

// Only main's thread runs while the application object is being made.
std::vector<THeldMessage>& Held() {
  static std::vector<THeldMessage> held;
  return held;
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) std::_Exit(ReportNoDisplay());
  Held().push_back({type, QByteArray(context.category), text});
}

}  // namespace

int ReportNoDisplay() {
  std::fprintf(stderr, "%s\n", kNoDisplayMessage);
  std::fflush(stderr);
  return kNoDisplayExit;
}

TNoDisplayGuard::TNoDisplayGuard() : Previous_(qInstallMessageHandler(HoldMessage)) {}

TNoDisplayGuard::~TNoDisplayGuard() {
  qInstallMessageHandler(Previous_);
  for (const THeldMessage& message : Held()) {
    const QMessageLogContext context(nullptr, 0, nullptr, message.Category.constData());
    qt_message_output(message.Type, context, message.Text);
  }
  Held().clear();
}

}  // namespace vt
