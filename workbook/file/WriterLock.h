#pragma once
// One program at a time writes a workbook. While it holds a workbook for
// writing, this program keeps
//   - a lock on the open file (an open-file-description lock, or flock where
//     the file system has none): per open file, not per process, so that two
//     workbooks bound in one process exclude each other as two programs do;
//   - the lock file LibreOffice keeps beside a document it edits
//     (LockFile.h), which LibreOffice and other programs respect.
// Both are beside or on the file with links resolved. Another holder of
// either is a fault naming it; a lock file left by a run of this program
// that no longer runs is named as stale, with how to clear it.

#include <string>

namespace vk {

class WriterLock {
 public:
  // `file`: the workbook file, links resolved (it may not exist yet: a copy
  // to be made); `label`: the path the user named, for the messages.
  WriterLock(std::string file, std::string label);
  ~WriterLock();
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;

  // Takes both locks, or none with a fault when another program holds one.
  // Nothing to do while held.
  void acquire();
  // Removes the lock file, if it is still this process's, and lets go of the
  // file. Nothing to do when not held.
  void release();
  bool held() const { return held_; }

 private:
  void lockFile();
  void writeLockFile();

  std::string file_;
  std::string label_;
  int fd_ = -1;
  bool held_ = false;
  bool ownLockFile_ = false;
  int registration_ = -1;  // InterruptedRun.h
};

}  // namespace vk
