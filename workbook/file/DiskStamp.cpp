#include "workbook/file/DiskStamp.h"

namespace vk {

bool DiskStamp::operator==(const DiskStamp& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

DiskStamp stampFrom(const struct stat& st) {
  DiskStamp s;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = st.st_size;
  s.modified = st.st_mtim;
  return s;
}

std::optional<DiskStamp> stampOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return stampFrom(st);
}

}  // namespace vk
