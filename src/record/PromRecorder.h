// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "record/Recorder.h"

// The Prometheus text exposition format for the node exporter's textfile
// collector: the file holds the last poll only and is replaced after each
// poll through a hidden temporary file in the same folder and a rename, so a
// reader never sees it half written. The counts of a poll are gauges; their
// running sums since the start are the *_total counters.
class PromRecorder : public Recorder {
 public:
  // Null with errno set when the folder does not take a file.
  static std::unique_ptr<PromRecorder> Open(const std::string& path, const RecordLabels& labels);
  // The whole document for one reading, with the sums up to and including it.
  std::string Document(const Reading& reading) const;
  // The temporary file the document is written to before the rename.
  const std::string& temporaryPath() const { return temporary_; }
  // A label value with backslash, double quote and line feed escaped.
  static std::string LabelValue(const std::string& text);

 protected:
  bool Write(const Reading& reading) override;

 private:
  PromRecorder(const std::string& path, const RecordLabels& labels);

  std::string labels_;  // chip="...",bus="..."
  std::string temporary_;
  double uncorrectableTotal_ = 0, correctableTotal_ = 0, polls_ = 0;
};
