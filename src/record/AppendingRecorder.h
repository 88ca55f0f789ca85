// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "record/AppendFile.h"
#include "record/Recorder.h"

// A recorder that appends its records to a file, under the labels of the
// board it records (which a board switch renames).
class AppendingRecorder : public Recorder {
 public:
  void Relabel(const RecordLabels& labels) override { labels_ = labels; }

 protected:
  AppendingRecorder(const std::string& path, const RecordLabels& labels)
      : Recorder(path), labels_(labels) {}

  AppendFile file_;
  RecordLabels labels_;
};
