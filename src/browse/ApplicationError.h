#pragma once
// Errors a handler does not handle itself end the user's action and go to the
// application's standard error box. The application installs the box; tests
// install a recorder.
#include <QString>
#include <functional>

namespace vt {

using ApplicationErrorHandler = std::function<void(const QString& text)>;

void SetApplicationErrorHandler(ApplicationErrorHandler handler);
// text without the final "."; the box adds it.
void ReportApplicationError(const QString& text);

}  // namespace vt
