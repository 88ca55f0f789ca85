// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/Recorder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "record/CsvRecorder.h"
#include "record/JsonlRecorder.h"
#include "record/PromRecorder.h"

std::string Recorder::Record(const Reading& reading) {
  errno = 0;
  ++attempts_;
  bool written = Write(reading);
  anyWritten_ |= written;
  return Settle(written);
}

std::string Recorder::Settle(bool written) {
  if (written) {
    failure_.clear();
    return "";
  }
  failure_ = std::strerror(errno ? errno : EIO);
  if (told_) return "";
  told_ = true;
  return "cannot write the record to " + path_ + ": " + failure_ +
         " (polling goes on; further write errors are not told)";
}

std::unique_ptr<Recorder> OpenRecorder(const std::string& path, const RecordLabels& labels,
                                       std::string& error) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::unique_ptr<Recorder> recorder;
  std::string why;
  errno = 0;
  if (ext == ".jsonl") {
    recorder = JsonlRecorder::Open(path, labels, why);
  } else if (ext == ".csv") {
    recorder = CsvRecorder::Open(path, labels, why);
  } else if (ext == ".prom") {
    recorder = PromRecorder::Open(path, labels);
    if (!recorder) why = std::strerror(errno ? errno : EIO);
  } else {
    error = "cannot record to " + path + ": unknown format \"" + ext +
            "\" (the name must end in .jsonl, .csv or .prom)";
    return nullptr;
  }
  if (!recorder) error = "cannot record to " + path + ": " + why;
  return recorder;
}
