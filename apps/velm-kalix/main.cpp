// The wizard: the program users start. It takes no arguments and reads no
// settings; it shows the welcome screen and ends with "Bye!!" or when the
// user closes the screen that is shown.

#include <QApplication>

#include "forms/Application.h"
#include "forms/Wizard.h"
#include "workbook/xlsx/XlsxEngine.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vk::describeApplication();
  // The wizard discards a screen before it shows the next: no moment without
  // a window may end the program, only the wizard does.
  app.setQuitOnLastWindowClosed(false);

  vk::Wizard wizard(std::make_shared<vk::XlsxEngine>());
  QObject::connect(&wizard, &vk::Wizard::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  wizard.start();
  return app.exec();
}
