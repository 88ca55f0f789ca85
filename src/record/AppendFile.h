// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// Writes the whole text to an open file, through partial writes and
// interrupted calls; false with errno set.
bool WriteAll(int fd, const std::string& text);

// A regular file that whole records are appended to, each handed to the
// system as it is written (no buffer of our own keeps a part of a record
// back). The file never keeps a part of a record: after a write that failed
// or stopped short it is cut back to where the record began.
class AppendFile {
 public:
  AppendFile() = default;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;
  ~AppendFile();

  // Opens or creates the file for records ending in `lineEnd`. Only a
  // regular file is taken, never through a symbolic link: false with `why`
  // telling what the path is instead, or the system's reason.
  bool Open(const std::string& path, const std::string& lineEnd, std::string& why);
  // Whether nothing was in the file when it was opened.
  bool wasEmpty() const { return wasEmpty_; }
  // The first `size` bytes of the file (fewer when it is shorter).
  std::string Head(size_t size) const;
  // Appends a whole record, after the line end a file that did not end in
  // one gets first; false with errno set, the file as it was before.
  bool Append(const std::string& record);

 private:
  int fd_ = -1;
  bool wasEmpty_ = true;
  std::string lineEndFirst_;  // what the file lacks before its first record
  long long cutTo_ = -1;      // where a cut that failed still has to cut
};
