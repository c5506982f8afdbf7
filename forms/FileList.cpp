#include "forms/FileList.h"

#include <QDir>
#include <QKeyEvent>

namespace vk {

FileList::FileList(const std::vector<std::string>& extensions, QWidget* parent) : QListWidget(parent) {
  for (const std::string& extension : extensions) pattern_ << "*." + QString::fromStdString(extension);
  connect(this, &QListWidget::itemClicked, this, &FileList::click);
  connect(this, &QListWidget::itemDoubleClicked, this, &FileList::dblClick);
}

void FileList::setPath(const QString& path) {
  path_ = path;
  clear();
  // Hidden files (lock files of spreadsheet programs among them) stay out;
  // without extensions nothing is listed (an empty pattern would list all).
  if (!pattern_.isEmpty()) addItems(QDir(path).entryList(pattern_, QDir::Files, QDir::Name | QDir::IgnoreCase));
  setCurrentRow(-1);
}

QString FileList::fileName() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.front()->text();
}

void FileList::keyPressEvent(QKeyEvent* event) {
  // Return on a file does what a double click on it does: its click, then the Open.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && event->modifiers() == Qt::NoModifier && currentItem()) {
    event->accept();
    if (event->isAutoRepeat()) return;
    currentItem()->setSelected(true);
    emit click();
    emit dblClick();
    return;
  }
  const int before = currentRow();
  QListWidget::keyPressEvent(event);
  if (currentRow() != before && currentRow() >= 0) emit click();
}

}  // namespace vk
