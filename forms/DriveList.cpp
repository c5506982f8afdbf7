#include "forms/DriveList.h"

#include <QDir>

#include "forms/Drives.h"

namespace vk {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
  const QStringList drives = listDrives();
  addItems(drives);
  setCurrentIndex(std::max(0, driveHolding(drives, QDir::currentPath())));
  connect(this, &QComboBox::currentIndexChanged, this, &DriveList::change);
}

}  // namespace vk
