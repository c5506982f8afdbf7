#pragma once
// How far a campaign is, on one line of a terminal: the workbooks done of
// all, the time since the start and the workbooks under analysis,
//   velm-kalix-batch: 12/40 done, 0:42; analysing run-13.xlsx, run-14.xlsx
// drawn again every second and whenever a workbook starts or ends. Whatever
// else goes to the error output is written with the line taken away first,
// so the two never mix. Disabled, it draws nothing and only passes the
// writing through.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vk {

class CampaignProgress {
 public:
  CampaignProgress(bool enabled, std::size_t total, std::ostream& err);
  // Takes the line away.
  ~CampaignProgress();
  CampaignProgress(const CampaignProgress&) = delete;
  CampaignProgress& operator=(const CampaignProgress&) = delete;

  void started(const std::string& name);
  void finished(const std::string& name);
  // Runs `write` (which writes to the error output) with the line taken away.
  void around(const std::function<void()>& write);

 private:
  void draw();   // with mutex_ held
  void erase();  // with mutex_ held
  void tick();

  const bool enabled_;
  const std::size_t total_;
  std::ostream& err_;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  std::size_t done_ = 0;
  std::vector<std::string> current_;
  bool drawn_ = false;
  std::thread ticker_;
};

}  // namespace vk
