// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/JsonlRecorder.h"

#include <charconv>
#include <cmath>

#include "json/Json.h"
#include "record/KernelFields.h"
#include "record/RecordText.h"

namespace {

// Builds one record member by member straight into a text: a poll's record
// costs a few appends rather than a document tree and its allocations.
class Members {
 public:
  explicit Members(std::string& out) : out_(out) {}

  Members& Key(const char* name) {
    out_ += first_ ? '{' : ',';
    first_ = false;
    AppendJsonString(out_, name);
    out_ += ':';
    return *this;
  }
  void Close() { out_ += first_ ? "{}" : "}"; }

  void Text(std::string_view text) { AppendJsonString(out_, text); }
  void Bool(bool value) { out_ += value ? "true" : "false"; }
  void Null() { out_ += "null"; }
  void Integer(long long value) {
    char text[24];
    out_.append(text, std::to_chars(text, text + sizeof text, value).ptr);
  }
  // A whole number below 1e15 without a point; null for one that has no
  // finite value.
  void Number(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
      Integer(static_cast<long long>(value));
    else
      AppendJsonNumber(out_, value);
  }
  // A single-precision value keeps its shortest decimal (25.3, not
  // 25.299999237060547).
  void Number(float value) { Number(ShortestDouble(value)); }
  void OptionalText(const std::optional<std::string>& text) { text ? Text(*text) : Null(); }
  void Raw(const std::string& json) { out_ += json; }

 private:
  std::string& out_;
  bool first_ = true;
};

}  // namespace

std::unique_ptr<JsonlRecorder> JsonlRecorder::Open(const std::string& path,
                                                   const RecordLabels& labels, std::string& why) {
  std::unique_ptr<JsonlRecorder> recorder(new JsonlRecorder(path, labels));
  if (!recorder->file_.Open(path, "\n", why)) return nullptr;
  recorder->line_.reserve(1024);  // a DVB-T record is about 600 bytes
  return recorder;
}

void JsonlRecorder::AppendLine(std::string& out, const Reading& r, const RecordLabels& labels) {
  Members line(out);
  line.Key("time").Text(IsoUtcText(r.timestamp));
  line.Key("answering").Bool(r.answering);
  line.Key("mode").Integer(r.mode);
  line.Key("modeText").Text(r.modeText);
  line.Key("locks");
  Members locks(out);
  for (size_t i = 0; i < kLampNames.size(); ++i) locks.Key(kLampNames[i]).Integer(r.locks[i]);
  locks.Close();
  line.Key("snr").Number(r.snr);
  line.Key("average").Number(r.average);
  line.Key("colour").Text(ColorName(r.color));
  line.Key("uncorrectable").Number(r.uncorrectable);
  line.Key("correctable").Integer(r.correctable);
  line.Key("berCounter").Number(r.berCounter);
  line.Key("uncorrectableRate");
  r.uncorrectableRate ? line.Number(*r.uncorrectableRate) : line.Null();
  line.Key("correctableBer").Number(r.correctableBer);
  line.Key("carrierOffset").OptionalText(r.carrierOffset);
  line.Key("carrierOffsetHex").OptionalText(r.carrierOffsetHex);
  line.Key("tps");
  if (r.tps) {
    const TpsReading& t = *r.tps;
    Members tps(out);
    // DVB-C has no codes beyond its constellation.
    auto dvbtCode = [&](const char* key, int16_t value) {
      tps.Key(key);
      t.cable ? tps.Null() : tps.Integer(value);
    };
    tps.Key("modulation").Integer(t.modulation);
    tps.Key("modulationText").Text(t.modulationText);
    dvbtCode("hierarchy", t.hierarchy);
    tps.Key("hierarchyText").Text(t.hierarchyText);
    dvbtCode("selectHPLP", t.selectHPLP);
    tps.Key("codeRateCaption").Text(t.codeRateCaption);
    dvbtCode("codeRate", t.codeRate);
    tps.Key("codeRateText").Text(t.codeRateText);
    dvbtCode("guard", t.guard);
    tps.Key("guardText").Text(t.guardText);
    dvbtCode("transmissionMode", t.transmissionMode);
    tps.Key("transmissionModeText").Text(t.transmissionModeText);
    tps.Close();
  } else {
    line.Null();
  }
  line.Key("chip").Text(labels.chip);
  line.Key("bus").Text(labels.bus);
  for (const auto& [name, value] : KernelFields(r)) line.Key(name).Raw(JsonText(value));
  line.Close();
}

void JsonlRecorder::AppendEventLine(std::string& out, const Event& e, const RecordLabels& labels) {
  Members line(out);
  line.Key("time").Text(IsoUtcText(e.time));
  line.Key("event").Text(EventName(e.kind));
  // To the millisecond, as the times are.
  if (e.lostSeconds) line.Key("lostSeconds").Number(std::round(*e.lostSeconds * 1000) / 1000);
  if (!e.detail.empty()) line.Key("detail").Text(e.detail);
  line.Key("chip").Text(labels.chip);
  line.Key("bus").Text(labels.bus);
  line.Close();
}

std::string JsonlRecorder::Line(const Reading& reading, const RecordLabels& labels) {
  std::string line;
  AppendLine(line, reading, labels);
  return line;
}

bool JsonlRecorder::Write(const Reading& reading) {
  line_.clear();  // keeps its capacity from one poll to the next
  AppendLine(line_, reading, labels_);
  line_ += '\n';
  for (const Event& e : reading.events) {
    AppendEventLine(line_, e, labels_);
    line_ += '\n';
  }
  return file_.Append(line_);
}
