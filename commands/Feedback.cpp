#include "commands/Feedback.h"

namespace vk {

const char* controlName(Control control) {
  switch (control) {
    case Control::Label1: return "Label1";
    case Control::Label2: return "Label2";
    case Control::Label3: return "Label3";
    case Control::ProgressBar1: return "ProgressBar1";
    case Control::Timer1: return "Timer1";
    case Control::cmdRead: return "cmdRead";
    case Control::cmdNext: return "cmdNext";
    case Control::SSCommand1: return "SSCommand1";
    case Control::SSCommand2: return "SSCommand2";
    case Control::drvChange: return "drvChange";
    case Control::dirLook: return "dirLook";
    case Control::filFind: return "filFind";
    case Control::cmdBye: return "cmdBye";
    case Control::cmdStartOver: return "cmdStartOver";
  }
  return "?";
}

}  // namespace vk
