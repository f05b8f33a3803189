#pragma once
// How failures travel; no exception crosses a layer.
//  - platform/: the system's own code, as it gave it: an errno value (int, 0 for
//    success) or a std::error_code. Nothing there turns it into text.
//  - engine/ and every layer above: a call that can fail returns TExpected<T>,
//    the value or a TError (Error.h: what failed, the errno, the path), never
//    both and never neither; the errno becomes a TError where a platform call
//    is made. A call with no value returns TExpected<void>. Failures that carry
//    more than a code keep their own type as E: a pattern's or a template's
//    error with its position, a result file's with its kind, an option
//    the command line does not know.
//  - Two shapes are not failures of a call and stay as they are: a byte source,
//    sink or writer keeps its first error as state, as a stream does, and its
//    owner turns it into a TExpected; and a rename's outcome is a status with
//    the system's code beside it, since an "Ok" can carry a note too.
// Only the window and the command line turn failures into what a person sees.
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "engine/Error.h"

namespace vt {

template <class E>
struct TUnexpected {
  E Error;
};

template <class E>
TUnexpected<std::decay_t<E>> Unexpected(E&& error) {
  return {std::forward<E>(error)};
}

template <class T, class E = TError>
class [[nodiscard]] TExpected {
 public:
  TExpected(T value) : Value_(std::in_place_index<0>, std::move(value)) {}
  template <class G>
  TExpected(TUnexpected<G> failure) : Value_(std::in_place_index<1>, std::move(failure.Error)) {}

  bool HasValue() const { return Value_.index() == 0; }
  explicit operator bool() const { return HasValue(); }

  // Only when HasValue(); Error() only when not.
  T& Value() & { return std::get<0>(Value_); }
  const T& Value() const& { return std::get<0>(Value_); }
  T&& Value() && { return std::get<0>(std::move(Value_)); }
  T& operator*() & { return Value(); }
  const T& operator*() const& { return Value(); }
  T* operator->() { return &Value(); }
  const T* operator->() const { return &Value(); }
  const E& Error() const { return std::get<1>(Value_); }

 private:
  std::variant<T, E> Value_;
};

template <class E>
class [[nodiscard]] TExpected<void, E> {
 public:
  TExpected() = default;
  template <class G>
  TExpected(TUnexpected<G> failure) : Error_(std::move(failure.Error)) {}

  bool HasValue() const { return !Error_.has_value(); }
  explicit operator bool() const { return HasValue(); }
  const E& Error() const { return *Error_; }

 private:
  std::optional<E> Error_;
};

// Nothing when code is 0, else the failure of kind at path: for a platform
// call that gives an errno.
inline TExpected<void> Checked(int code, TErrorKind kind, std::string path = {}) {
  if (code == 0) return {};
  return Unexpected(TError{code, kind, std::move(path)});
}

}  // namespace vt
