// The wizard: the program users start. It takes no arguments and reads no
// settings but the choice of its engine (EngineChoice.h); it shows the
// welcome screen and ends with "Bye!!" or when the user closes the screen
// that is shown.

#include <QApplication>
#include <cstdlib>

#include "apps/velm-kalix/EngineChoice.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "forms/Wizard.h"
#include "workbook/xlsx/XlsxEngine.h"
#ifdef VK_HAVE_LIBREOFFICE
#include "workbook/uno/LibreOfficeEngine.h"
#endif

namespace {

// The workbook stays open in LibreOffice Calc when its desktop build is
// installed, for the user to watch and save; otherwise the embedded engine
// edits the file itself.
std::shared_ptr<vk::WorkbookEngine> chooseEngine() {
#ifdef VK_HAVE_LIBREOFFICE
  const vk::EngineChoice choice =
      vk::chooseWizardEngine(std::getenv(vk::kEngineVariable), true, vk::libreOfficeDesktopInstalled());
#else
  const vk::EngineChoice choice = vk::chooseWizardEngine(std::getenv(vk::kEngineVariable), false, false);
#endif
  if (!choice.warning.empty()) vk::MessageBox::exclamation(nullptr, QString::fromStdString(choice.warning));
#ifdef VK_HAVE_LIBREOFFICE
  // The engine's module is loaded when the first workbook is opened.
  if (choice.engine == vk::WizardEngine::LibreOffice) return vk::libreOfficeEngineOnDemand();
#endif
  return std::make_shared<vk::XlsxEngine>();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vk::describeApplication();
  // The wizard discards a screen before it shows the next: no moment without
  // a window may end the program, only the wizard does.
  app.setQuitOnLastWindowClosed(false);

  vk::Wizard wizard(chooseEngine());
  QObject::connect(&wizard, &vk::Wizard::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  wizard.start();
  return app.exec();
}
