#pragma once
// What a command shows on its screen while it works: captions, visibility and
// enablement of the screen's controls, the progress bar, the beep, messages.
// The Qt screens implement it; tests implement it with a recorder; the batch
// tool with a console. Controls carry the screens' own names.

#include <string>

namespace vk {

enum class Control {
  Label1,        // status line (frmRead, frmRun)
  Label2,        // selection line (frmInput)
  Label3,        // "Wait..." (frmRead)
  ProgressBar1,  // frmRead, frmRun
  Timer1,        // frmRun: Enabled only
  cmdRead,       // frmRead "Reading "
  cmdNext,       // frmInput "Next >>", frmRead "Next>>"
  SSCommand1,    // frmInput "Open"
  SSCommand2,    // frmRun "Run!!"
  drvChange,     // frmInput drive list
  dirLook,       // frmInput directory list
  filFind,       // frmInput file list
  cmdBye,        // frmRun "Bye!!"
  cmdStartOver,  // frmRun "Start Over"
};

const char* controlName(Control control);

class Feedback {
 public:
  virtual ~Feedback() = default;
  virtual void beep() = 0;
  virtual void setCaption(Control control, const std::string& caption) = 0;
  virtual void setVisible(Control control, bool visible) = 0;
  virtual void setEnabled(Control control, bool enabled) = 0;
  // The progress bar's range and value (single-precision, as the control has them).
  virtual void setProgressMinimum(float minimum) = 0;
  virtual void setProgressMaximum(float maximum) = 0;
  virtual void setProgressValue(float value) = 0;
  // A modal message (exclamation icon, OK button), e.g. "Please Choose a proper file".
  virtual void message(const std::string& text) = 0;
  // A warning at the end of a command that otherwise succeeded.
  virtual void warning(const std::string& text) = 0;
};

// No screen at all: every control, the beep and the messages go nowhere.
// The batch tool's console and the tests' silent runs start from it.
class NoScreen : public Feedback {
 public:
  void beep() override {}
  void setCaption(Control, const std::string&) override {}
  void setVisible(Control, bool) override {}
  void setEnabled(Control, bool) override {}
  void setProgressMinimum(float) override {}
  void setProgressMaximum(float) override {}
  void setProgressValue(float) override {}
  void message(const std::string&) override {}
  void warning(const std::string&) override {}
};

}  // namespace vk
