#pragma once

namespace vt {

// Whether a stop was asked of a pass before it ended.
enum class TPassStopped { No, Yes };

}  // namespace vt
