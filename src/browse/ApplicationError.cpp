#include "browse/ApplicationError.h"

#include <cstdio>

namespace vt {

namespace {

ApplicationErrorHandler& Handler() {
  static ApplicationErrorHandler handler;
  return handler;
}

}  // namespace

void SetApplicationErrorHandler(ApplicationErrorHandler handler) { Handler() = std::move(handler); }

void ReportApplicationError(const QString& text) {
  if (const auto& handler = Handler()) {
    handler(text);
    return;
  }
  // No box installed (a program without a window): the error must still be seen.
  std::fprintf(stderr, "Veltrane: %s.\n", text.toLocal8Bit().constData());
}

}  // namespace vt
