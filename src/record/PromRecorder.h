// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "record/Recorder.h"

// The Prometheus text exposition format for the node exporter's textfile
// collector: the file holds the last poll only and is replaced after each
// poll through a hidden temporary file in the same folder and a rename, so a
// reader never sees it half written. The counts of a poll are gauges; their
// running sums since the start are the *_total counters.
//
// The rewrite costs a file system far more than a poll may spend, so a
// writer thread of the recorder's own does it a moment after the poll. A poll
// only leaves its reading in a single pending slot; one that comes while the
// writer is busy replaces the poll still waiting there, which loses nothing
// since the file holds the last poll and the sums are running. The poll does
// not wake the writer; the writer looks for a pending poll every kPickUp,
// far more often than a collector reads the file.
class PromRecorder : public Recorder {
 public:
  static constexpr std::chrono::milliseconds kPickUp{50};

  // The running sums up to and including a poll.
  struct Totals {
    double uncorrectable = 0, correctable = 0, polls = 0;
  };

  // Null with errno set when the folder does not take a file.
  static std::unique_ptr<PromRecorder> Open(const std::string& path, const RecordLabels& labels);
  // Writes the poll still pending, then ends the writer.
  ~PromRecorder() override;
  // The whole document for one reading with the sums up to and including it.
  std::string Document(const Reading& reading, const Totals& totals) const;
  // Waits until the writer has taken every poll handed over to the file.
  void Wait();
  std::string Finish() override;
  // The temporary file the document is written to before the rename.
  const std::string& temporaryPath() const { return temporary_; }
  // A label value with backslash, double quote and line feed escaped.
  static std::string LabelValue(const std::string& text);

 protected:
  bool Write(const Reading& reading) override;

 private:
  // A poll on its way to the file.
  struct Poll {
    Reading reading;
    Totals totals;
  };

  PromRecorder(const std::string& path, const RecordLabels& labels);
  // The writer thread: rewrites the file from each pending poll in turn.
  void Run();
  // Replaces the file with the document; false with errno telling why.
  bool Rewrite(const std::string& document);

  std::string labels_;  // chip="...",bus="..."
  std::string temporary_;
  Totals totals_;  // the poll thread's own

  std::mutex mutex_;  // guards everything below but the thread
  std::condition_variable wake_, idle_;
  Poll pending_;
  bool hasPending_ = false, writing_ = false, stopping_ = false;
  int lastError_ = 0;  // errno of the last write the writer finished, 0 when it succeeded
  std::thread writer_;
};
