#include "forms/DesktopBrowser.h"

#include <QDesktopServices>

namespace vk {

namespace {

std::function<bool(const QUrl&)>& hook() {
  static std::function<bool(const QUrl&)> h;
  return h;
}

}  // namespace

bool DesktopBrowser::open(const QUrl& url) { return hook() ? hook()(url) : QDesktopServices::openUrl(url); }

void DesktopBrowser::setHook(std::function<bool(const QUrl&)> h) { hook() = std::move(h); }

}  // namespace vk
