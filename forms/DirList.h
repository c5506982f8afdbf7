#pragma once
// The directory list of the workbook-choice screen, as a classic directory
// list shows it: the current directory's parents from the root down as open
// folders, the current directory, then its sub-directories one step further
// in. A double click (or Enter) on an entry makes it the current directory.

#include <QListWidget>

namespace vk {

class DirList : public QListWidget {
  Q_OBJECT

 public:
  // Starts at the process's current directory.
  explicit DirList(QWidget* parent);

  // Absolute, with no trailing "/" except for the root.
  const QString& path() const { return path_; }
  // Makes the directory current and lists it; a directory that cannot be
  // read changes nothing and gives false.
  bool setPath(const QString& path);

 signals:
  // The current directory changed.
  void change();
  // The user asked for a directory that cannot be read.
  void cannotEnter(const QString& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void enter(QListWidgetItem* item);
  void list();

  QString path_;
};

}  // namespace vk
