// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/PromRecorder.h"

#include <cerrno>
#include <cmath>

#include "json/Json.h"
#include "record/RecordText.h"
#include "record/ReplaceFile.h"

namespace {

// One metric: its help, its type and its samples, each sample with the
// common labels and any of its own.
class Metrics {
 public:
  explicit Metrics(const std::string& labels) : labels_(labels) {}
  void Begin(const char* name, const char* type, const char* help) {
    text_ += std::string("# HELP ") + name + ' ' + help + "\n# TYPE " + name + ' ' + type + '\n';
  }
  void Sample(const char* name, double value, const std::string& ownLabels = "") {
    text_ += std::string(name) + '{' + labels_ + ownLabels + "} " + DecimalText(value) + '\n';
  }
  void One(const char* name, const char* type, const char* help, double value) {
    Begin(name, type, help);
    Sample(name, value);
  }
  std::string& text() { return text_; }

 private:
  const std::string& labels_;
  std::string text_;
};

// The kernel's view: a metric is left out while the driver gives nothing
// for it; what disagrees is always told, 1 or 0.
void KernelMetrics(Metrics& m, const Reading& r) {
  const KernelReading& k = *r.kernel;
  auto one = [&](const char* name, const char* type, const char* help, auto value) {
    if (value) m.One(name, type, help, double(*value));
  };
  auto locked = k.locked();
  one("quovis_kernel_locked", "gauge", "1 when the kernel's driver reports FE_HAS_LOCK, else 0.",
      locked ? std::optional<double>(*locked) : std::nullopt);
  auto level = [](const std::optional<KernelLevel>& l) {
    return l && !l->relative ? std::optional<double>(l->value) : std::nullopt;
  };
  one("quovis_kernel_signal_dbm", "gauge", "Signal strength the kernel's driver reports, in dBm.",
      level(k.signal));
  one("quovis_kernel_cnr_db", "gauge", "C/N the kernel's driver reports, in dB.", level(k.cnr));
  one("quovis_kernel_pre_ber", "gauge", "Bit error rate before FEC since the previous poll.",
      k.preBer);
  one("quovis_kernel_post_ber", "gauge", "Bit error rate after FEC since the previous poll.",
      k.postBer);
  one("quovis_kernel_ucb_total", "counter",
      "Uncorrectable blocks the kernel's driver counted since its last reset.", k.ucbTotal);
  m.Begin("quovis_views_disagree", "gauge",
          "1 while the register view and the kernel's view disagree on what, else 0.");
  for (const char* what : {"lock", "snr", "ucb"}) {
    bool on = false;
    for (const Disagreement& d : r.disagree) on |= d.what == what;
    m.Sample("quovis_views_disagree", on, std::string(",what=\"") + what + '"');
  }
}

// What a poll adds to a running sum: a counter never goes down.
double Count(double perPoll) { return perPoll > 0 ? perPoll : 0; }

}  // namespace

std::string PromRecorder::LabelValue(const std::string& text) {
  std::string escaped;
  for (char c : ValidUtf8(text)) {
    if (c == '\\')
      escaped += "\\\\";
    else if (c == '"')
      escaped += "\\\"";
    else if (c == '\n')
      escaped += "\\n";
    else
      escaped += c;
  }
  return escaped;
}

namespace {

std::string LabelText(const RecordLabels& labels) {
  return "chip=\"" + PromRecorder::LabelValue(labels.chip) + "\",bus=\"" +
         PromRecorder::LabelValue(labels.bus) + '"';
}

}  // namespace

PromRecorder::PromRecorder(const std::string& path, const RecordLabels& labels, Replace replace)
    : Recorder(path),
      labels_(LabelText(labels)),
      replace_(replace ? std::move(replace) : Replace(ReplaceFile)) {}

void PromRecorder::Relabel(const RecordLabels& labels) {
  // The writer reads the labels while it writes: it is let finish first,
  // and takes no poll but from this thread.
  Wait();
  std::lock_guard lock(mutex_);
  labels_ = LabelText(labels);
  lamps_ = {true, true, true, true, true};
}

std::unique_ptr<PromRecorder> PromRecorder::Open(const std::string& path,
                                                 const RecordLabels& labels, Replace replace) {
  // The hidden file the rewrite goes through is not ".prom": the collector
  // skips it.
  if (!CanReplaceFile(path)) return nullptr;
  std::unique_ptr<PromRecorder> recorder(new PromRecorder(path, labels, std::move(replace)));
  recorder->writer_ = std::thread(&PromRecorder::Run, recorder.get());
  return recorder;
}

PromRecorder::~PromRecorder() {
  if (!writer_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  writer_.join();
}

std::string PromRecorder::Document(const Reading& r, const Totals& totals) const {
  Metrics m(labels_);
  m.One("quovis_answering", "gauge", "1 when every read of the last poll got an answer, else 0.",
        r.answering);
  m.Begin("quovis_mode", "gauge",
          "Operating mode code of the last poll (-1 none, 0 8-VSB, 1 QAM 64, 2 QAM 256, 3 Sleep, "
          "4 DVB-T, 5 DVB-C, 6 ATSC-MH); the label mode_text names it.");
  m.Sample("quovis_mode", r.mode, ",mode_text=\"" + LabelValue(r.modeText) + '"');
  m.Begin("quovis_locked", "gauge",
          "Lock lamp of the last poll: 1 locked, 0 not locked, -1 not applicable.");
  for (size_t i = 0; i < kLampNames.size(); ++i)
    m.Sample("quovis_locked", r.locks[i], std::string(",lamp=\"") + kLampNames[i] + '"');
  m.One("quovis_snr_db", "gauge", "Signal-to-noise ratio of the last poll in dB (0 unlocked).",
        ShortestDouble(r.snr));
  m.One("quovis_snr_avg_db", "gauge", "Averaged signal-to-noise ratio in dB.",
        ShortestDouble(r.average));
  m.One("quovis_uncorrectable", "gauge", "Uncorrectable errors the last poll read.",
        r.uncorrectable);
  m.One("quovis_correctable", "gauge", "Correctable errors the last poll read.", r.correctable);
  m.One("quovis_uncorrectable_total", "counter",
        "Sum of the uncorrectable errors read by every poll since quovis started.",
        totals.uncorrectable);
  m.One("quovis_correctable_total", "counter",
        "Sum of the correctable errors read by every poll since quovis started.",
        totals.correctable);
  m.One("quovis_uncorrectable_rate", "gauge",
        "Uncorrectable errors over the divisor of the chip's counter setting (NaN without one).",
        r.uncorrectableRate.value_or(NAN));
  m.One("quovis_correctable_ber", "gauge", "Correctable errors over 65535.", r.correctableBer);
  m.One("quovis_polls_total", "counter", "Polls since quovis started.", totals.polls);
  m.One("quovis_lock_losses_total", "counter", "Times the lock was lost since quovis started.",
        double(r.tally.lockLosses));
  m.One("quovis_unlocked_seconds_total", "counter",
        "Seconds without lock since quovis started (a silence after an unlocked poll included).",
        r.tally.unlockedSeconds);
  m.One("quovis_no_answer_seconds_total", "counter",
        "Seconds the demodulator did not answer since quovis started.", r.tally.noAnswerSeconds);
  m.One("quovis_last_poll_timestamp_seconds", "gauge",
        "When the last poll started, in seconds since 1970 (UTC).",
        std::chrono::duration_cast<std::chrono::milliseconds>(r.timestamp.time_since_epoch())
                .count() /
            1000.0);
  if (r.kernel) KernelMetrics(m, r);
  return std::move(m.text());
}

bool PromRecorder::Write(const Reading& reading) {
  // The chip's lamps are those of its last answered poll that had any (a
  // sleeping chip shows none).
  bool anyLamp = false;
  for (int16_t lamp : reading.locks) anyLamp |= lamp != -1;
  for (size_t i = 0; reading.answering && anyLamp && i < lamps_.size(); ++i)
    lamps_[i] = reading.locks[i] != -1;
  // The sums count every poll, also one whose file could not be written or
  // that a newer poll replaced before the writer took it.
  totals_.uncorrectable += Count(reading.uncorrectable);
  totals_.correctable += Count(reading.correctable);
  ++totals_.polls;
  int error;
  {
    std::lock_guard lock(mutex_);
    pending_.reading = reading;
    for (size_t i = 0; !reading.answering && i < lamps_.size(); ++i)
      pending_.reading.locks[i] = lamps_[i] ? 0 : -1;
    pending_.totals = totals_;
    hasPending_ = true;
    error = lastError_;
  }
  // No wake-up call: that system call alone would cost the poll more than
  // all the rest; the writer looks for the poll within kPickUp.
  errno = error;
  return error == 0;
}

void PromRecorder::Wait() {
  std::unique_lock lock(mutex_);
  wake_.notify_one();  // no need to wait for the writer's next look
  idle_.wait(lock, [this] { return !hasPending_ && !writing_; });
}

std::string PromRecorder::Finish() {
  Wait();
  int error;
  {
    std::lock_guard lock(mutex_);
    error = lastError_;
  }
  errno = error;
  return Settle(error == 0);
}

bool PromRecorder::anyWritten() {
  Wait();
  std::lock_guard lock(mutex_);
  return fileWritten_;
}

void PromRecorder::Run() {
  Poll poll;  // the writer's own copy, its texts' room reused
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait_for(lock, kPickUp, [this] { return hasPending_ || stopping_; });
    if (!hasPending_ && !stopping_) continue;
    if (!hasPending_) return;
    std::swap(poll, pending_);
    hasPending_ = false;
    writing_ = true;
    lock.unlock();
    errno = 0;
    bool written = replace_(path(), Document(poll.reading, poll.totals));
    int error = written ? 0 : (errno ? errno : EIO);
    lock.lock();
    lastError_ = error;
    fileWritten_ |= written;
    writing_ = false;
    idle_.notify_all();
  }
}
