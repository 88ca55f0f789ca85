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
  // Filled key by key: far cheaper than nested initialiser lists.
  Json record = Json::object();
  record["time"] = IsoUtcText(r.timestamp);
  record["answering"] = r.answering;
  record["mode"] = r.mode;
  record["modeText"] = r.modeText;
  Json& locks = record["locks"];
  for (size_t i = 0; i < kLampNames.size(); ++i) locks[kLampNames[i]] = r.locks[i];
  record["snr"] = Number(r.snr);
  record["average"] = Number(r.average);
  record["colour"] = ColorName(r.color);
  record["uncorrectable"] = Number(r.uncorrectable);
  record["correctable"] = r.correctable;
  record["berCounter"] = Number(r.berCounter);
  record["uncorrectableRate"] = r.uncorrectableRate ? Number(*r.uncorrectableRate) : Json();
  record["correctableBer"] = Number(r.correctableBer);
  record["carrierOffset"] = Optional(r.carrierOffset);
  record["carrierOffsetHex"] = Optional(r.carrierOffsetHex);
  Json& tps = record["tps"];
  if (r.tps) {
    const TpsReading& t = *r.tps;
    tps["modulation"] = t.modulation;
    tps["modulationText"] = t.modulationText;
    tps["hierarchy"] = t.hierarchy;
    tps["hierarchyText"] = t.hierarchyText;
    tps["selectHPLP"] = t.selectHPLP;
    tps["codeRateCaption"] = t.codeRateCaption;
    tps["codeRate"] = t.codeRate;
    tps["codeRateText"] = t.codeRateText;
    tps["guard"] = t.guard;
    tps["guardText"] = t.guardText;
    tps["transmissionMode"] = t.transmissionMode;
    tps["transmissionModeText"] = t.transmissionModeText;
  }
  // Texts from a chip are not promised to be UTF-8: replace what is not.
  return record.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool JsonlRecorder::Write(const Reading& reading) { return file_.Append(Line(reading) + "\n"); }
