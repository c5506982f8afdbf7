#include "forms/MessageBox.h"

#include <QApplication>
#include <QCursor>
#include <deque>

#include "forms/BusyCommand.h"

namespace vk {

namespace {

std::deque<QMessageBox::StandardButton>& nextAnswers() {
  static std::deque<QMessageBox::StandardButton> answers;
  return answers;
}

std::vector<MessageBox::Shown>& answeredBoxes() {
  static std::vector<MessageBox::Shown> boxes;
  return boxes;
}

QMessageBox::StandardButton ask(QMessageBox& box) {
  box.setWindowModality(Qt::ApplicationModal);
  const bool busy = BusyCommand::underWay();
  if (busy) BusyCommand::dropPendingInput();
  if (!nextAnswers().empty()) {
    const QMessageBox::StandardButton answer = nextAnswers().front();
    nextAnswers().pop_front();
    answeredBoxes().push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
    return answer;
  }
  if (!busy) return QMessageBox::StandardButton(box.exec());
  QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
  const auto answer = QMessageBox::StandardButton(box.exec());
  QApplication::restoreOverrideCursor();
  return answer;
}

}  // namespace

QMessageBox::StandardButton MessageBox::exclamation(QWidget* parent, const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  return ask(box);
}

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, {}, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  const QMessageBox::StandardButton answer = ask(box);
  return answer == QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::No;
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) { nextAnswers().push_back(answer); }

int MessageBox::pendingAnswers() { return int(nextAnswers().size()); }

const std::vector<MessageBox::Shown>& MessageBox::shown() { return answeredBoxes(); }

void MessageBox::clearShown() { answeredBoxes().clear(); }

}  // namespace vk
