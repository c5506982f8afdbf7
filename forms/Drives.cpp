#include "forms/Drives.h"

#include <QDir>
#include <QStorageInfo>

namespace vk {

namespace {

// Where desktops mount the media a user plugs in.
bool isRemovableMount(const QString& mountPoint) {
  return mountPoint.startsWith("/media/") || mountPoint.startsWith("/run/media/") || mountPoint.startsWith("/mnt/");
}

bool contains(const QString& drive, const QString& path) {
  if (drive == "/") return path.startsWith('/');
  return path == drive || path.startsWith(drive + '/');
}

}  // namespace

QStringList listDrives() {
  QStringList drives{"/"};
  const QString home = QDir::homePath();
  if (home != "/") drives << home;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    const QString mountPoint = volume.rootPath();
    if (volume.isValid() && isRemovableMount(mountPoint) && !drives.contains(mountPoint)) drives << mountPoint;
  }
  return drives;
}

int driveHolding(const QStringList& drives, const QString& path) {
  int best = -1;
  for (int k = 0; k < drives.size(); ++k)
    if (contains(drives[k], path) && (best < 0 || drives[k].size() > drives[best].size())) best = k;
  return best;
}

}  // namespace vk
