#pragma once
// While it exists, what the engine tells when it starts the spreadsheet
// program it works through goes to `show`; once it has, `done` is called
// at the end, also after a fault. Afterwards nothing is told.

#include <functional>
#include <string>

#include "workbook/Workbook.h"

namespace vk {

class StartingNotice {
 public:
  StartingNotice(WorkbookEngine* engine, std::function<void(const std::string&)> show, std::function<void()> done);
  ~StartingNotice();
  StartingNotice(const StartingNotice&) = delete;
  StartingNotice& operator=(const StartingNotice&) = delete;

 private:
  WorkbookEngine* engine_;
  std::function<void()> done_;
  bool told_ = false;
};

}  // namespace vk
