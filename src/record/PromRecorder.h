// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
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
//
// A dead card is not locked: a poll the chip did not answer shows 0 on every
// lamp the chip had in its last answered poll with lamps (on all five when
// there was none), so that an alert on 0 fires.
class PromRecorder : public Recorder {
 public:
  static constexpr std::chrono::milliseconds kPickUp{50};

  // The running sums up to and including a poll.
  struct Totals {
    double uncorrectable = 0, correctable = 0, polls = 0;
  };

  // What puts a document in the file; ReplaceFile but in tests.
  using Replace = std::function<bool(const std::string& path, const std::string& text)>;

  // Null with errno set when the folder does not take a file.
  static std::unique_ptr<PromRecorder> Open(const std::string& path, const RecordLabels& labels,
                                            Replace replace = nullptr);
  // Writes the poll still pending, then ends the writer.
  ~PromRecorder() override;
  // The whole document for one reading with the sums up to and including it.
  std::string Document(const Reading& reading, const Totals& totals) const;
  // Waits until the writer has taken every poll handed over to the file.
  void Wait();
  std::string Finish() override;
  void Relabel(const RecordLabels& labels) override;
  bool anyWritten() override;
  // A label value with backslash, double quote and line feed escaped and
  // every byte that is not UTF-8 replaced by U+FFFD.
  static std::string LabelValue(const std::string& text);

 protected:
  bool Write(const Reading& reading) override;

 private:
  // A poll on its way to the file.
  struct Poll {
    Reading reading;
    Totals totals;
  };

  PromRecorder(const std::string& path, const RecordLabels& labels, Replace replace);
  // The writer thread: rewrites the file from each pending poll in turn.
  void Run();

  std::string labels_;  // chip="...",bus="..."
  Replace replace_;
  Totals totals_;                                               // the poll thread's own
  std::array<bool, 5> lamps_ = {true, true, true, true, true};  // the chip's, as far as known

  std::mutex mutex_;  // guards everything below but the thread
  std::condition_variable wake_, idle_;
  Poll pending_;
  bool hasPending_ = false, writing_ = false, stopping_ = false, fileWritten_ = false;
  int lastError_ = 0;  // errno of the last write the writer finished, 0 when it succeeded
  std::thread writer_;
};
