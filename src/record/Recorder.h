// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "monitor/Reading.h"

// What every record names besides the reading: the detected chip and the bus.
struct RecordLabels {
  std::string chip, bus;
};

// Writes one record per poll into a file. A write that fails is told once;
// later polls keep trying, and a write that succeeds again clears the state.
// A recorder may leave the writing to a thread of its own: a poll then
// learns how the writes before it went.
class Recorder {
 public:
  explicit Recorder(std::string path) : path_(std::move(path)) {}
  virtual ~Recorder() = default;

  // Records one poll. Returns the message for the first failed write of the
  // run, empty for every other call.
  std::string Record(const Reading& reading);
  // Waits until every poll handed over is in the file. Returns the message
  // for a first failed write that no poll has told yet, else empty.
  virtual std::string Finish() { return ""; }
  // The records of the polls after this name another board.
  virtual void Relabel(const RecordLabels& labels) = 0;
  // Whether a record reached the file, after waiting for every poll handed
  // over; `attempts` counts the polls handed over.
  virtual bool anyWritten() { return anyWritten_; }
  long attempts() const { return attempts_; }
  // Whether the last write failed, and why.
  bool failing() const { return !failure_.empty(); }
  const std::string& failure() const { return failure_; }
  const std::string& path() const { return path_; }

 protected:
  // Writes one record, or hands it to the recorder's own writer; false with
  // errno telling why the write, or the last one the writer finished, failed.
  virtual bool Write(const Reading& reading) = 0;
  // Takes the outcome of a write (false: errno tells why); returns the
  // message when the failure is the first of the run.
  std::string Settle(bool written);

 private:
  std::string path_;
  std::string failure_;
  bool told_ = false;
  bool anyWritten_ = false;
  long attempts_ = 0;
};

// A recorder for the format the file's extension names (.jsonl, .csv,
// .prom); null with a message naming the path when the extension is unknown
// or the file cannot be written (.jsonl and .csv: a symbolic link, a FIFO, a
// device, a .csv under another header).
std::unique_ptr<Recorder> OpenRecorder(const std::string& path, const RecordLabels& labels,
                                       std::string& error);
