#pragma once
// Every file the screens show in the desktop's browser goes through here,
// on QDesktopServices. Tests replace the desktop with a hook and see the
// URL instead of a browser starting.

#include <QUrl>
#include <functional>

namespace vk {

class DesktopBrowser {
 public:
  // False when the desktop could not show it.
  static bool open(const QUrl& url);

  // Test hook: takes the URL in place of the desktop until it is replaced;
  // an empty hook gives the desktop back.
  static void setHook(std::function<bool(const QUrl&)> hook);
};

}  // namespace vk
