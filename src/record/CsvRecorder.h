// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "record/AppendingRecorder.h"

// Comma-separated values after RFC 4180: a header row when the file starts
// empty, then one row a poll, every line ended by CR LF. A file that holds
// another header is not appended to.
class CsvRecorder : public AppendingRecorder {
 public:
  // Null with `why` set when the file cannot be appended to.
  static std::unique_ptr<CsvRecorder> Open(const std::string& path, const RecordLabels& labels,
                                           std::string& why);
  // The header and the row of one reading, each with its CR LF.
  static std::string Header();
  static std::string Row(const Reading& reading, const RecordLabels& labels);
  // A field quoted when it holds a comma, a quote, CR or LF; quotes doubled.
  static std::string Field(const std::string& text);

 protected:
  bool Write(const Reading& reading) override;

 private:
  using AppendingRecorder::AppendingRecorder;
  bool headerWritten_ = false;
};
