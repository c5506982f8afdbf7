#pragma once
// The drive list of the workbook-choice screen: a drop-down of the drives,
// starting at the one that holds the process's current directory.

#include <QComboBox>

namespace vk {

class DriveList : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveList(QWidget* parent);
  // The chosen drive's path.
  QString drive() const { return currentText(); }

 signals:
  // The user chose another drive.
  void change();
};

}  // namespace vk
