// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "record/AppendingRecorder.h"

// One JSON object a line, appended per poll, and after it one line for each
// event the poll found.
class JsonlRecorder : public AppendingRecorder {
 public:
  // Null with `why` set when the file cannot be appended to.
  static std::unique_ptr<JsonlRecorder> Open(const std::string& path, const RecordLabels& labels,
                                             std::string& why);
  // The record of one reading, without the line end.
  static std::string Line(const Reading& reading, const RecordLabels& labels);
  // The same record appended to `out`.
  static void AppendLine(std::string& out, const Reading& reading, const RecordLabels& labels);
  // The record of one event, without the line end.
  static void AppendEventLine(std::string& out, const Event& event, const RecordLabels& labels);

 protected:
  bool Write(const Reading& reading) override;

 private:
  using AppendingRecorder::AppendingRecorder;
  std::string line_;  // reused by every poll's record
};
