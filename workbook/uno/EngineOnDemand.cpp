// The wizard's LibreOffice engine: the module is loaded by the first command
// that binds a workbook, so that a missing module is that command's fault
// and the wizard starts without it.

#include "workbook/uno/LibreOfficeEngine.h"

namespace vk {

namespace {

class EngineOnDemand : public WorkbookEngine {
 public:
  explicit EngineOnDemand(LibreOfficeOptions options) : options_(std::move(options)) {}

  std::shared_ptr<Workbook> bind(const std::string& path) override { return engine().bind(path); }
  std::shared_ptr<Workbook> bindCopy(const std::string& path, const std::string& copy) override {
    return engine().bindCopy(path, copy);
  }
  std::string name() const override { return LibreOfficeEngine::kName; }
  std::vector<std::string> extensions() const override { return LibreOfficeEngine::fileExtensions(); }
  // Kept for the engine until the module is loaded.
  void tellWhenStarting(std::function<void(const std::string& notice)> tell) override {
    tell_ = tell;
    if (engine_) engine_->tellWhenStarting(std::move(tell));
  }

 private:
  LibreOfficeEngine& engine() {
    if (!engine_) {
      engine_ = loadLibreOfficeEngine(options_);
      engine_->tellWhenStarting(tell_);
    }
    return *engine_;
  }

  LibreOfficeOptions options_;
  std::shared_ptr<LibreOfficeEngine> engine_;
  std::function<void(const std::string& notice)> tell_;
};

}  // namespace

std::shared_ptr<WorkbookEngine> libreOfficeEngineOnDemand(LibreOfficeOptions options) {
  return std::make_shared<EngineOnDemand>(std::move(options));
}

}  // namespace vk
