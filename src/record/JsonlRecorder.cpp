#include "record/JsonlRecorder.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "record/RecordText.h"

namespace {

using Json = nlohmann::ordered_json;

// A number as JSON; null for one that has no finite value. A single-precision
// value keeps its shortest decimal (25.3, not 25.299999237060547).
Json Number(double value) {
  if (!std::isfinite(value)) return nullptr;
  if (value == std::trunc(value) && std::fabs(value) < 1e15) return int64_t(value);
  return value;
}
Json Number(float value) { return Number(ShortestDouble(value)); }
template <typename T>
Json Optional(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

}  // namespace

std::unique_ptr<JsonlRecorder> JsonlRecorder::Open(const std::string& path) {
  std::unique_ptr<JsonlRecorder> recorder(new JsonlRecorder(path));
  if (!recorder->file_.Open(path)) return nullptr;
  return recorder;
}

std::string JsonlRecorder::Line(const Reading& r) {
  Json locks = Json::object();
  for (size_t i = 0; i < kLampNames.size(); ++i) locks[kLampNames[i]] = r.locks[i];
  Json tps = nullptr;
  if (r.tps) {
    const TpsReading& t = *r.tps;
    tps = {{"modulation", t.modulation},
           {"modulationText", t.modulationText},
           {"hierarchy", t.hierarchy},
           {"hierarchyText", t.hierarchyText},
           {"selectHPLP", t.selectHPLP},
           {"codeRateCaption", t.codeRateCaption},
           {"codeRate", t.codeRate},
           {"codeRateText", t.codeRateText},
           {"guard", t.guard},
           {"guardText", t.guardText},
           {"transmissionMode", t.transmissionMode},
           {"transmissionModeText", t.transmissionModeText}};
  }
  Json record = {
      {"time", IsoUtcText(r.timestamp)},
      {"answering", r.answering},
      {"mode", r.mode},
      {"modeText", r.modeText},
      {"locks", locks},
      {"snr", Number(r.snr)},
      {"average", Number(r.average)},
      {"colour", ColorName(r.color)},
      {"uncorrectable", Number(r.uncorrectable)},
      {"correctable", r.correctable},
      {"berCounter", Number(r.berCounter)},
      {"uncorrectableRate", r.uncorrectableRate ? Number(*r.uncorrectableRate) : Json(nullptr)},
      {"correctableBer", Number(r.correctableBer)},
      {"carrierOffset", Optional(r.carrierOffset)},
      {"carrierOffsetHex", Optional(r.carrierOffsetHex)},
      {"tps", tps},
  };
  // Texts from a chip are not promised to be UTF-8: replace what is not.
  return record.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool JsonlRecorder::Write(const Reading& reading) { return file_.Append(Line(reading) + "\n"); }
