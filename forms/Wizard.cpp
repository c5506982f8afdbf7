#include "forms/Wizard.h"

#include "forms/frmInput.h"
#include "forms/frmRead.h"
#include "forms/frmRun.h"
#include "forms/frmWelcome.h"
#include "workbook/Workbook.h"

namespace vk {

Wizard::Wizard(std::shared_ptr<WorkbookEngine> engine) { module_.Engine = std::move(engine); }

Wizard::~Wizard() = default;

void Wizard::start() {
  moveTo([this] { return new frmWelcome(*this); });
}

void Wizard::showInput() {
  moveTo([this] { return new frmInput(*this); });
}

void Wizard::showRead() {
  moveTo([this] { return new frmRead(*this); });
}

void Wizard::showRun() {
  moveTo([this] { return new frmRun(*this); });
}

void Wizard::startOver() {
  moveTo([this] { return new frmInput(*this); },
         [this] {
           module_.DataBook.reset();
           module_.FileBook.reset();
         });
}

void Wizard::bye() {
  QMetaObject::invokeMethod(
      this, [this] { end(); }, Qt::QueuedConnection);
}

void Wizard::moveTo(std::function<Screen*()> create, std::function<void()> afterwards) {
  QMetaObject::invokeMethod(
      this,
      [this, create = std::move(create), afterwards = std::move(afterwards)] {
        if (ended_) return;
        current_.reset();
        current_.reset(create());
        // Closing a screen through its window frame discards it; with no
        // screen left the program ends.
        connect(current_.get(), &Screen::closedByUser, this, &Wizard::bye);
        current_->show();
        if (afterwards) afterwards();
      },
      Qt::QueuedConnection);
}

void Wizard::end() {
  if (ended_) return;
  current_.reset();
  ended_ = true;
  emit finished();
}

}  // namespace vk
