// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/SignalHistory.h"

#include <algorithm>
#include <cstdint>

SignalHistory::SignalHistory(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

void SignalHistory::Append(const Reading& reading) {
  HistorySample s;
  s.ms = std::chrono::duration_cast<std::chrono::milliseconds>(reading.timestamp.time_since_epoch())
             .count();
  s.snr = reading.snr;
  s.average = reading.average;
  s.answering = reading.answering;
  s.locked = reading.answering && reading.locked();
  // Errors are only read while locked; a counter that went down was
  // cleared by the chip, so all it holds now is new.
  if (s.locked) {
    if (haveBaseline_)
      s.uncorrectable = reading.uncorrectable >= baseline_ ? reading.uncorrectable - baseline_
                                                           : reading.uncorrectable;
    haveBaseline_ = true;
    baseline_ = reading.uncorrectable;
  } else {
    haveBaseline_ = false;
  }
  if (size_ < capacity_) {
    samples_.push_back(s);
    ++size_;
  } else {
    samples_[head_] = s;
    head_ = (head_ + 1) % samples_.size();
    while (!events_.empty() && events_.front().ms < (*this)[0].ms) events_.pop_front();
  }
  for (const Event& e : reading.events)
    events_.push_back(
        {std::chrono::duration_cast<std::chrono::milliseconds>(e.time.time_since_epoch()).count(),
         EventText(e)});
}

size_t SignalHistory::LowerBound(int64_t ms) const {
  size_t lo = 0, hi = size_;
  while (lo < hi) {
    size_t mid = lo + (hi - lo) / 2;
    if ((*this)[mid].ms < ms)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

namespace {

// Keeps the lowest and highest value of each column, in time order.
class ExtremesPerColumn {
 public:
  explicit ExtremesPerColumn(std::vector<ChartPoint>& out) : out_(out) {}
  void Add(int column, int64_t ms, double value) {
    if (column != column_) Flush();
    if (!open_) {
      column_ = column, open_ = true;
      min_ = max_ = {ms, value};
      return;
    }
    if (value < min_.value) min_ = {ms, value};
    if (value > max_.value) max_ = {ms, value};
  }
  void Flush() {
    if (!open_) return;
    open_ = false;
    if (min_.ms == max_.ms && min_.value == max_.value) {
      out_.push_back(min_);
    } else if (min_.ms <= max_.ms) {
      out_.push_back(min_), out_.push_back(max_);
    } else {
      out_.push_back(max_), out_.push_back(min_);
    }
  }

 private:
  std::vector<ChartPoint>& out_;
  int column_ = -1;
  bool open_ = false;
  ChartPoint min_{}, max_{};
};

// Keeps the mean of each column, at the mean time of its samples: a line
// that smooths already needs no more than one point a column.
class MeanPerColumn {
 public:
  explicit MeanPerColumn(std::vector<ChartPoint>& out) : out_(out) {}
  void Add(int column, int64_t ms, double value) {
    if (column != column_) Flush();
    column_ = column;
    sumMs_ += ms, sum_ += value, ++count_;
  }
  void Flush() {
    if (count_ == 0) return;
    out_.push_back({sumMs_ / count_, sum_ / double(count_)});
    sumMs_ = 0, sum_ = 0, count_ = 0;
  }

 private:
  std::vector<ChartPoint>& out_;
  int column_ = -1;
  int64_t sumMs_ = 0, count_ = 0;
  double sum_ = 0;
};

// Gathers runs of marked samples into spans; runs closer than the merge gap
// become one span, so no more spans than columns are drawn.
class SpanBuilder {
 public:
  SpanBuilder(std::vector<TimeSpan>& out, int64_t mergeGap) : out_(out), gap_(mergeGap) {}
  // A sample at ms, marked or not; a run ends at the first unmarked sample.
  void Add(int64_t ms, bool marked) {
    if (marked && !inRun_) {
      inRun_ = true;
      if (!out_.empty() && ms - out_.back().toMs <= gap_) {
        out_.back().toMs = ms;  // joins the previous span
      } else {
        out_.push_back({ms, ms});
      }
    } else if (inRun_) {
      out_.back().toMs = ms;
      if (!marked) inRun_ = false;
    }
  }

 private:
  std::vector<TimeSpan>& out_;
  int64_t gap_;
  bool inRun_ = false;
};

}  // namespace

ChartData SignalHistory::Decimate(int64_t fromMs, int64_t toMs, int columns) const {
  ChartData data;
  if (empty() || toMs <= fromMs || columns <= 0) return data;
  const int64_t width = toMs - fromMs;
  auto columnOf = [&](int64_t ms) {
    if (ms < fromMs) return -1;
    if (ms > toMs) return columns;
    return int(std::min<int64_t>(columns - 1, (ms - fromMs) * columns / width));
  };
  // One sample either side of the window, so the lines and spans reach its edges.
  size_t first = LowerBound(fromMs), last = LowerBound(toMs + 1);
  if (first > 0) --first;
  if (last < size_) ++last;

  ExtremesPerColumn snr(data.snr);
  MeanPerColumn average(data.average);
  const int64_t mergeGap = width / columns;
  SpanBuilder lockLost(data.lockLost, mergeGap), noAnswer(data.noAnswer, mergeGap);
  int markColumn = -2;
  // Samples come in time order and change column a few hundred times in
  // many thousands: divide only when one crosses into the next column.
  auto columnEnd = [&](int column) {
    if (column < 0) return fromMs;
    if (column >= columns) return INT64_MAX;
    if (column == columns - 1) return toMs + 1;
    return fromMs + (int64_t(column + 1) * width + columns - 1) / columns;
  };
  int column = -1;
  int64_t nextColumn = INT64_MIN;
  auto visit = [&](const HistorySample& s) {
    if (s.ms >= nextColumn) {
      column = columnOf(s.ms);
      nextColumn = columnEnd(column);
    }
    snr.Add(column, s.ms, s.snr);
    average.Add(column, s.ms, s.average);
    noAnswer.Add(s.ms, !s.answering);
    lockLost.Add(s.ms, s.answering && !s.locked);
    if (s.uncorrectable > 0 && column >= 0 && column < columns) {
      if (column == markColumn) {
        data.uncorrectable.back().value += s.uncorrectable;
      } else {
        data.uncorrectable.push_back({s.ms, s.uncorrectable});
        markColumn = column;
      }
    }
  };
  // The ring in its two stored pieces, oldest first.
  const size_t cap = samples_.size();
  for (size_t i = first; i < last;) {
    size_t at = (head_ + i) % cap;
    size_t run = std::min(last - i, cap - at);
    for (const HistorySample *p = &samples_[at], *end = p + run; p != end; ++p) visit(*p);
    i += run;
  }
  snr.Flush();
  average.Flush();
  for (const EventMark& e : events_) {
    const int at = columnOf(e.ms);
    if (at < 0 || at >= columns) continue;
    if (!data.events.empty() && columnOf(data.events.back().ms) == at)
      data.events.back().text += "\n" + e.text;
    else
      data.events.push_back(e);
  }
  // Spans are drawn inside the window only.
  for (auto* spans : {&data.lockLost, &data.noAnswer}) {
    for (TimeSpan& span : *spans) {
      span.fromMs = std::max(span.fromMs, fromMs);
      span.toMs = std::min(span.toMs, toMs);
    }
    std::erase_if(*spans, [](const TimeSpan& s) { return s.toMs < s.fromMs; });
  }
  return data;
}
