#pragma once
// The batch tool's screen: no controls to change; messages and warnings go to
// the error stream.

#include <ostream>

#include "commands/Feedback.h"

namespace vk {

class ConsoleFeedback : public NoScreen {
 public:
  explicit ConsoleFeedback(std::ostream& err) : err_(err) {}
  void message(const std::string& text) override { err_ << text << "\n"; }
  void warning(const std::string& text) override { err_ << "warning: " << text << "\n"; }

 private:
  std::ostream& err_;
};

}  // namespace vk
