#pragma once
// The "drives" of a Linux desktop as the drive list offers them: the root,
// the home folder and the removable media mounted for the user.

#include <QString>
#include <QStringList>

namespace vk {

QStringList listDrives();
// The drive of the list that holds the path (the longest that contains it);
// -1 when none does.
int driveHolding(const QStringList& drives, const QString& path);

}  // namespace vk
