#pragma once
// The flow of the four screens. The wizard owns the shared state for the
// whole run of the program and the one screen that exists: every move
// discards the current screen before it creates the next, and a screen shown
// again starts from its initial state.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "forms/TestReport.h"
#include "module1/Module1.h"

namespace vk {

class Screen;
class WorkbookEngine;

class Wizard : public QObject {
  Q_OBJECT

 public:
  explicit Wizard(std::shared_ptr<WorkbookEngine> engine);
  ~Wizard() override;

  Module1& module() { return module_; }
  // What the last successful Reading left for the test report; kept here,
  // beside the module, for the run screen.
  std::optional<ReadingForReport>& reading() { return reading_; }
  // The screen now shown; null before the start and after the end.
  Screen* current() const { return current_.get(); }
  bool ended() const { return ended_; }

  // Shows frmWelcome.
  void start();
  // The moves. Each is carried out as soon as the handler that asks for it
  // has returned, so that no screen is discarded inside its own handler.
  void showInput();
  void showRead();
  void showRun();
  // frmInput, then the workbook references are released: DataBook, then FileBook.
  void startOver();
  // Discards the screen and ends the program.
  void bye();
  // Before the workbook is let go of ("Bye!!", "Start Over", a screen closed
  // through its frame): when the spreadsheet program holds changes of this
  // analysis that are not saved in the file, the user is told and asked
  // whether to save them now. False when saving was asked for and failed:
  // the user stays where he is. Not saving leaves the workbook as it is.
  bool offerToSave(QWidget* parent);

 signals:
  // The program ends: "Bye!!", or the user closed the last screen.
  void finished();

 private:
  void moveTo(std::function<Screen*()> create, std::function<void()> afterwards = {});
  void end();

  Module1 module_;
  std::optional<ReadingForReport> reading_;
  std::unique_ptr<Screen> current_;
  bool ended_ = false;
};

}  // namespace vk
