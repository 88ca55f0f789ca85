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
std::string WithKernel(std::string line, const Reading& r, bool names) {
  auto fields = KernelFields(r);
  if (fields.empty()) return line;
  line.resize(line.size() - 2);  // the line's CRLF
  for (const auto& [name, value] : fields)
    line += ',' + CsvRecorder::Field(names ? name : KernelCsvField(value));
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

std::string CsvRecorder::Header(const Reading& first) {
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
                          "transmission_mode_text"}),
                    first, true);
}

std::string CsvRecorder::Row(const Reading& r) {
  // Empty fields: no TPS outside DVB, no rate without a divisor, no carrier
  // reading from a sleeping chip.
  TpsReading none;
  const TpsReading& t = r.tps ? *r.tps : none;
  auto code = [&](int16_t value) { return r.tps ? Int(value) : std::string(); };
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
                          code(t.hierarchy),
                          t.hierarchyText,
                          code(t.selectHPLP),
                          t.codeRateCaption,
                          code(t.codeRate),
                          t.codeRateText,
                          code(t.guard),
                          t.guardText,
                          code(t.transmissionMode),
                          t.transmissionModeText}),
                    r, false);
}

std::unique_ptr<CsvRecorder> CsvRecorder::Open(const std::string& path) {
  std::unique_ptr<CsvRecorder> recorder(new CsvRecorder(path));
  if (!recorder->file_.Open(path)) return nullptr;
  // A file that already holds rows has its header.
  recorder->headerWritten_ = !recorder->file_.wasEmpty();
  return recorder;
}

bool CsvRecorder::Write(const Reading& reading) {
  // The header goes with the first row, so that a file that cannot take the
  // first row does not get a header alone.
  std::string text = headerWritten_ ? Row(reading) : Header(reading) + Row(reading);
  if (!file_.Append(text)) return false;
  headerWritten_ = true;
  return true;
}
