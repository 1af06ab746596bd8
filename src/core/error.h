// Expected failures (a missing file, a record the system cannot use) are
// values that carry the whole message for the user: the file, the line and
// the reason. Bugs are assertions, not errors.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace makenc {

struct Error {
  std::string message;  // UTF-8, ready for the terminal or a message box
};

template <typename T>
class Result {
 public:
  Result(T value) : v_(std::move(value)) {}      // NOLINT: implicit on purpose
  Result(Error error) : v_(std::move(error)) {}  // NOLINT
  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<0>(v_); }
  const T& value() const { return std::get<0>(v_); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() { return value(); }
  const Error& error() const { return std::get<1>(v_); }

 private:
  std::variant<T, Error> v_;
};

// For steps that give nothing back but may fail.
struct Done {};
using Status = Result<Done>;
inline Status ok_status() { return Done{}; }

}  // namespace makenc
