#include "forms/Application.h"

#include <QApplication>

#include "forms/AppIcon.h"

namespace vk {

const char* const kDesktopId = "org.velmkalix.VelmKalix";

void describeApplication() {
  // The default title of a message box that has none of its own.
  QApplication::setApplicationName("VELM KALIX");
  QGuiApplication::setDesktopFileName(kDesktopId);
  QApplication::setWindowIcon(appIcon());
}

}  // namespace vk
