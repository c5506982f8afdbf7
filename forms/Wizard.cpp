#include "forms/Wizard.h"

#include <filesystem>

#include "forms/BusyCommand.h"
#include "forms/MessageBox.h"
#include "forms/frmInput.h"
#include "forms/frmRead.h"
#include "forms/frmRun.h"
#include "forms/frmWelcome.h"
#include "module1/Fault.h"
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

bool Wizard::offerToSave(QWidget* parent) {
  Workbook* book = module_.DataBook.get();
  if (!book || !book->unsavedChanges()) return true;
  const QString program = QString::fromStdString(module_.Engine ? module_.Engine->name() : "the spreadsheet program");
  const QString file = QString::fromStdString(std::filesystem::path(book->path()).filename().string());
  const QString question = "The workbook " + QString::fromStdString(book->path()) + " holds the results of this " +
                           "analysis in " + program + " only: they are not saved in the file yet.\n\nSave " + file +
                           " now?";
  if (MessageBox::question(parent, question) != QMessageBox::Yes) return true;
  try {
    BusyCommand busy;
    book->save();
    return true;
  } catch (const Fault& fault) {
    MessageBox::exclamation(parent, QString::fromStdString(fault.description()));
    return false;
  }
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
        current_->setCloseCheck([this] { return offerToSave(current_.get()); });
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
