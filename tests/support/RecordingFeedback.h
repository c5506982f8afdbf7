#pragma once
// A screen that records what a command shows, one line per change, so that
// tests can check the order of every control change.

#include <string>
#include <vector>

#include "commands/Feedback.h"

namespace vk::test {

class RecordingFeedback : public Feedback {
 public:
  std::vector<std::string> lines;
  std::vector<std::string> messages;
  std::vector<std::string> warnings;

  void beep() override { lines.push_back("beep"); }
  void setCaption(Control c, const std::string& caption) override {
    lines.push_back(std::string(controlName(c)) + ".Caption=" + caption);
  }
  void setVisible(Control c, bool v) override {
    lines.push_back(std::string(controlName(c)) + ".Visible=" + (v ? "True" : "False"));
  }
  void setEnabled(Control c, bool e) override {
    lines.push_back(std::string(controlName(c)) + ".Enabled=" + (e ? "True" : "False"));
  }
  void setProgressMinimum(float v) override { lines.push_back("Min=" + number(v)); }
  void setProgressMaximum(float v) override { lines.push_back("Max=" + number(v)); }
  void setProgressValue(float v) override { lines.push_back("Value=" + number(v)); }
  void message(const std::string& text) override {
    lines.push_back("message");
    messages.push_back(text);
  }
  void warning(const std::string& text) override {
    lines.push_back("warning");
    warnings.push_back(text);
  }

  // The lines that are not progress values.
  std::vector<std::string> withoutValues() const {
    std::vector<std::string> out;
    for (const auto& l : lines)
      if (l.rfind("Value=", 0) != 0) out.push_back(l);
    return out;
  }
  std::vector<std::string> values() const {
    std::vector<std::string> out;
    for (const auto& l : lines)
      if (l.rfind("Value=", 0) == 0) out.push_back(l.substr(6));
    return out;
  }

 private:
  static std::string number(float v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
  }
};

}  // namespace vk::test
