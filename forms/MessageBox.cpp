#include "forms/MessageBox.h"

#include <deque>

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

}  // namespace

QMessageBox::StandardButton MessageBox::exclamation(QWidget* parent, const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box.setWindowModality(Qt::ApplicationModal);
  if (!nextAnswers().empty()) {
    const QMessageBox::StandardButton answer = nextAnswers().front();
    nextAnswers().pop_front();
    answeredBoxes().push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
    return answer;
  }
  return QMessageBox::StandardButton(box.exec());
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) { nextAnswers().push_back(answer); }

int MessageBox::pendingAnswers() { return int(nextAnswers().size()); }

const std::vector<MessageBox::Shown>& MessageBox::shown() { return answeredBoxes(); }

void MessageBox::clearShown() { answeredBoxes().clear(); }

}  // namespace vk
