#pragma once
// The file list of the workbook-choice screen: the files of one directory
// with the extensions the engine opens, with no entry selected at first.

#include <QListWidget>
#include <QStringList>
#include <string>
#include <vector>

namespace vk {

class FileList : public QListWidget {
  Q_OBJECT

 public:
  // extensions without the dot ("xlsx").
  FileList(const std::vector<std::string>& extensions, QWidget* parent);

  const QString& path() const { return path_; }
  void setPath(const QString& path);
  // The selected entry, exactly as listed; empty when none is selected.
  QString fileName() const;

 signals:
  // An entry was chosen, with the mouse or the arrow keys.
  void click();
  // An entry was double-clicked (after its click), or Return was pressed on it.
  void dblClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QStringList pattern_;
  QString path_;
};

}  // namespace vk
