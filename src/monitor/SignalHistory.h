// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "monitor/Reading.h"

// One poll as the history keeps it.
struct HistorySample {
  int64_t ms = 0;  // wall-clock time, milliseconds since the epoch
  float snr = 0, average = 0;
  bool answering = true, locked = false;
  double uncorrectable = 0;  // errors added since the previous locked poll
};

struct ChartPoint {
  int64_t ms;
  double value;
};

// An event as the chart marks it: when, and what in words (the events of
// one pixel column share a mark, one line each).
struct EventMark {
  int64_t ms;
  std::string text;
};

// A stretch of time, [fromMs, toMs].
struct TimeSpan {
  int64_t fromMs, toMs;
};

// What a chart draws for one visible time window: the SNR's lowest and
// highest point in each pixel column (a single silent poll stays visible),
// the average's mean in each column, the spans without lock or without an answer,
// one mark per column that saw uncorrectable errors and one per column that
// saw events.
struct ChartData {
  std::vector<ChartPoint> snr, average;
  std::vector<TimeSpan> lockLost, noAnswer;
  std::vector<ChartPoint> uncorrectable;
  std::vector<EventMark> events;
};

// The signal over time, one sample per poll, kept in memory up to a bound
// (the oldest samples go first).
class SignalHistory {
 public:
  // A day at one poll a second fits more than twice.
  static constexpr size_t kDefaultCapacity = 200000;

  explicit SignalHistory(size_t capacity = kDefaultCapacity);

  void Append(const Reading& reading);

  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  // Oldest first.
  const HistorySample& operator[](size_t i) const {
    return samples_[(head_ + i) % samples_.size()];  // the ring is full once it wraps
  }

  // The chart data of the window [fromMs, toMs] drawn over `columns` pixels.
  ChartData Decimate(int64_t fromMs, int64_t toMs, int columns) const;

 private:
  size_t LowerBound(int64_t ms) const;  // first sample at or after ms

  // Grows with the polls up to the capacity, then the newest sample takes
  // the oldest one's place.
  std::vector<HistorySample> samples_;
  size_t capacity_;
  size_t head_ = 0, size_ = 0;
  // The polls' events, oldest first, none older than the oldest sample.
  std::deque<EventMark> events_;
  // The counter of the last locked poll: increments are counted from it.
  bool haveBaseline_ = false;
  double baseline_ = 0;
};
