// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// Writes the whole text to an open file, through partial writes and
// interrupted calls; false with errno set.
bool WriteAll(int fd, const std::string& text);

// A file that records are appended to, each handed to the system as it is
// written (no buffer of our own keeps a part of a record back).
class AppendFile {
 public:
  AppendFile() = default;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;
  ~AppendFile();

  // Opens or creates the file; false with errno set.
  bool Open(const std::string& path);
  // Whether nothing was in the file when it was opened.
  bool wasEmpty() const { return wasEmpty_; }
  // Appends the text; false with errno set.
  bool Append(const std::string& text);

 private:
  int fd_ = -1;
  bool wasEmpty_ = true;
};
