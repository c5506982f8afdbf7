#pragma once
// The batch tool's screen: no controls to change; messages and warnings go to
// the error stream.

#include <ostream>

#include "commands/Feedback.h"

namespace vk {

class ConsoleFeedback : public Feedback {
 public:
  explicit ConsoleFeedback(std::ostream& err) : err_(err) {}
  void beep() override {}
  void setCaption(Control, const std::string&) override {}
  void setVisible(Control, bool) override {}
  void setEnabled(Control, bool) override {}
  void setProgressMinimum(float) override {}
  void setProgressMaximum(float) override {}
  void setProgressValue(float) override {}
  void message(const std::string& text) override { err_ << text << "\n"; }
  void warning(const std::string& text) override { err_ << "warning: " << text << "\n"; }

 private:
  std::ostream& err_;
};

}  // namespace vk
