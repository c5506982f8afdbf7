#include "apps/batch/CampaignProgress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <ostream>

namespace vk {

namespace {

// "0:42", "1:02:03".
std::string elapsed(std::chrono::steady_clock::duration d) {
  const long seconds = long(std::chrono::duration_cast<std::chrono::seconds>(d).count());
  auto two = [](long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
  if (seconds >= 3600) return std::to_string(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" + two(seconds % 60);
  return std::to_string(seconds / 60) + ":" + two(seconds % 60);
}

// The terminal's width, so that the line never wraps (a carriage return
// takes back only the last row of a wrapped line).
std::size_t columns() {
  winsize size{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1) return std::size_t(size.ws_col);
  return 80;
}

}  // namespace

CampaignProgress::CampaignProgress(bool enabled, std::size_t total, std::ostream& err)
    : enabled_(enabled), total_(total), err_(err) {
  if (enabled_) ticker_ = std::thread([this] { tick(); });
}

CampaignProgress::~CampaignProgress() {
  if (!enabled_) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    erase();
  }
  stop_.notify_all();
  ticker_.join();
}

void CampaignProgress::started(const std::string& name) {
  if (!enabled_) return;
  std::lock_guard lock(mutex_);
  current_.push_back(name);
  draw();
}

void CampaignProgress::finished(const std::string& name) {
  if (!enabled_) return;
  std::lock_guard lock(mutex_);
  if (auto at = std::find(current_.begin(), current_.end(), name); at != current_.end()) current_.erase(at);
  ++done_;
  draw();
}

void CampaignProgress::around(const std::function<void()>& write) {
  if (!enabled_) return write();
  std::lock_guard lock(mutex_);
  erase();
  write();
  draw();
}

void CampaignProgress::draw() {
  std::string line = "velm-kalix-batch: " + std::to_string(done_) + "/" + std::to_string(total_) + " done, " +
                     elapsed(std::chrono::steady_clock::now() - start_);
  for (std::size_t k = 0; k < current_.size(); ++k) line += (k == 0 ? "; analysing " : ", ") + current_[k];
  const std::size_t width = std::max<std::size_t>(columns() - 1, 8);
  if (line.size() > width) {
    std::size_t cut = width - 3;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    line = line.substr(0, cut) + "...";
  }
  err_ << "\r\x1b[K" << line << std::flush;
  drawn_ = true;
}

void CampaignProgress::erase() {
  if (drawn_) err_ << "\r\x1b[K" << std::flush;
  drawn_ = false;
}

void CampaignProgress::tick() {
  std::unique_lock lock(mutex_);
  while (!stop_.wait_for(lock, std::chrono::seconds(1), [this] { return stopping_; })) draw();
}

}  // namespace vk
