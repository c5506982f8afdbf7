#pragma once
// The file list of the workbook-choice screen: the files of one directory
// whose names match the pattern, with no entry selected at first.

#include <QListWidget>
#include <QStringList>

namespace vk {

class FileList : public QListWidget {
  Q_OBJECT

 public:
  FileList(QStringList pattern, QWidget* parent);

  const QString& path() const { return path_; }
  void setPath(const QString& path);
  // The selected entry, exactly as listed; empty when none is selected.
  QString fileName() const;

 signals:
  // An entry was chosen, with the mouse or the arrow keys.
  void click();
  // An entry was double-clicked (after its click).
  void dblClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QStringList pattern_;
  QString path_;
};

}  // namespace vk
