#pragma once
// A figure that may be "not applicable", with the reason why it is not.

#include <optional>
#include <string>
#include <utility>

namespace vk::assess {

template <class T>
struct Maybe {
  std::optional<T> value;
  std::string reason;  // set when there is no value

  Maybe() = default;
  Maybe(T v) : value(std::move(v)) {}  // NOLINT: a value is always welcome
  static Maybe none(std::string why) {
    Maybe m;
    m.reason = std::move(why);
    return m;
  }

  explicit operator bool() const { return value.has_value(); }
  const T& operator*() const { return *value; }
  const T* operator->() const { return &*value; }
};

}  // namespace vk::assess
