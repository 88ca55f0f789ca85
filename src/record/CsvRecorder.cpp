// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/CsvRecorder.h"

#include <initializer_list>

#include "record/KernelFields.h"
#include "record/RecordText.h"

namespace {

std::string Join(std::initializer_list<std::string> fields) {
  std::string line;
  bool first = true;
  for (const std::string& f : fields) {
    if (!first) line += ',';
    line += CsvRecorder::Field(f);
    first = false;
  }
  return line + "\r\n";
}

std::string Int(long long value) { return std::to_string(value); }

// The kernel's columns go after the register view's, when a frontend is read.
// The kernel view's columns follow quovis's own, in every file alike, so
// that rows with and without a frontend (a card, then a board file) share
// one header; a poll without a frontend leaves them empty.
std::vector<std::string> KernelColumns() {
  Reading withFrontend;
  withFrontend.kernel.emplace();
  std::vector<std::string> names;
  for (const auto& field : KernelFields(withFrontend)) names.push_back(field.first);
  return names;
}

std::vector<std::string> KernelFieldsOf(const Reading& r) {
  std::vector<std::string> fields;
  for (const auto& field : KernelFields(r)) fields.push_back(KernelCsvField(field.second));
  if (fields.empty()) fields.resize(KernelColumns().size());
  return fields;
}

std::string WithKernel(std::string line, const std::vector<std::string>& fields) {
  line.resize(line.size() - 2);  // the line's CRLF
  for (const auto& field : fields) line += ',' + CsvRecorder::Field(field);
  return line + "\r\n";
}

}  // namespace

std::string CsvRecorder::Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string CsvRecorder::Header() {
  return WithKernel(Join({"time",
                          "answering",
                          "mode",
                          "mode_text",
                          "lock_master",
                          "lock_eq",
                          "lock_fec",
                          "lock_sync",
                          "lock_afc",
                          "snr_db",
                          "average_db",
                          "colour",
                          "uncorrectable",
                          "correctable",
                          "ber_counter",
                          "uncorrectable_rate",
                          "correctable_ber",
                          "carrier_offset",
                          "carrier_offset_hex",
                          "modulation",
                          "modulation_text",
                          "hierarchy",
                          "hierarchy_text",
                          "select_hplp",
                          "code_rate_caption",
                          "code_rate",
                          "code_rate_text",
                          "guard",
                          "guard_text",
                          "transmission_mode",
                          "transmission_mode_text",
                          "chip",
                          "bus"}),
                    KernelColumns());
}

std::string CsvRecorder::Row(const Reading& r, const RecordLabels& labels) {
  // Empty fields: no TPS outside DVB, no rate without a divisor, no carrier
  // reading from a sleeping chip.
  TpsReading none;
  const TpsReading& t = r.tps ? *r.tps : none;
  auto code = [&](int16_t value) { return r.tps ? Int(value) : std::string(); };
  auto dvbtCode = [&](int16_t value) { return t.cable ? std::string() : code(value); };
  return WithKernel(Join({IsoUtcText(r.timestamp),
                          r.answering ? "1" : "0",
                          Int(r.mode),
                          r.modeText,
                          Int(r.locks[0]),
                          Int(r.locks[1]),
                          Int(r.locks[2]),
                          Int(r.locks[3]),
                          Int(r.locks[4]),
                          DecimalText(r.snr),
                          DecimalText(r.average),
                          ColorName(r.color),
                          DecimalText(r.uncorrectable),
                          Int(r.correctable),
                          DecimalText(r.berCounter),
                          r.uncorrectableRate ? DecimalText(*r.uncorrectableRate) : "",
                          DecimalText(r.correctableBer),
                          r.carrierOffset.value_or(""),
                          r.carrierOffsetHex.value_or(""),
                          code(t.modulation),
                          t.modulationText,
                          dvbtCode(t.hierarchy),
                          t.hierarchyText,
                          dvbtCode(t.selectHPLP),
                          t.codeRateCaption,
                          dvbtCode(t.codeRate),
                          t.codeRateText,
                          dvbtCode(t.guard),
                          t.guardText,
                          dvbtCode(t.transmissionMode),
                          t.transmissionModeText,
                          labels.chip,
                          labels.bus}),
                    KernelFieldsOf(r));
}

std::unique_ptr<CsvRecorder> CsvRecorder::Open(const std::string& path, const RecordLabels& labels,
                                               std::string& why) {
  std::unique_ptr<CsvRecorder> recorder(new CsvRecorder(path, labels));
  if (!recorder->file_.Open(path, "\r\n", why)) return nullptr;
  // A file that already holds rows has its header; rows under another
  // header would not be what it names.
  recorder->headerWritten_ = !recorder->file_.wasEmpty();
  if (recorder->headerWritten_ && recorder->file_.Head(Header().size()) != Header()) {
    why = "its first line is not the header quovis writes";
    return nullptr;
  }
  return recorder;
}

bool CsvRecorder::Write(const Reading& reading) {
  // The header goes with the first row, so that a file that cannot take the
  // first row does not get a header alone.
  std::string text = headerWritten_ ? Row(reading, labels_) : Header() + Row(reading, labels_);
  if (!file_.Append(text)) return false;
  headerWritten_ = true;
  return true;
}
