#include "commands/StartingNotice.h"

namespace vk {

StartingNotice::StartingNotice(WorkbookEngine* engine, std::function<void(const std::string&)> show,
                               std::function<void()> done)
    : engine_(engine), done_(std::move(done)) {
  if (engine_)
    engine_->tellWhenStarting([this, show = std::move(show)](const std::string& text) {
      told_ = true;
      show(text);
    });
}

StartingNotice::~StartingNotice() {
  if (engine_) engine_->tellWhenStarting({});
  if (!told_) return;
  try {
    done_();
  } catch (...) {
    // Only a notice: the command's own outcome is what counts.
  }
}

}  // namespace vk
