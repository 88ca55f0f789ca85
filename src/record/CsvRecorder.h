// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "record/AppendFile.h"
#include "record/Recorder.h"

// Comma-separated values after RFC 4180: a header row when the file starts
// empty, then one row a poll, every line ended by CR LF.
class CsvRecorder : public Recorder {
 public:
  // Null with errno set when the file cannot be opened for appending.
  static std::unique_ptr<CsvRecorder> Open(const std::string& path);
  // The header and the row of one reading, each with its CR LF.
  // The header for a file whose first row is `first` (its kernel columns).
  static std::string Header(const Reading& first = {});
  static std::string Row(const Reading& reading);
  // A field quoted when it holds a comma, a quote, CR or LF; quotes doubled.
  static std::string Field(const std::string& text);

 protected:
  bool Write(const Reading& reading) override;

 private:
  using Recorder::Recorder;
  AppendFile file_;
  bool headerWritten_ = false;
};
