// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvb/KernelText.h"

#include <cstdio>

#include "numbers/Format.h"

namespace KernelText {
namespace {

std::string Fixed(double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

bool Satellite(uint32_t system) {
  return system == SYS_DVBS || system == SYS_DVBS2 || system == SYS_TURBO || system == SYS_ISDBS ||
         system == SYS_DSS;
}

template <typename T>
Json OrNull(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

}  // namespace

std::string DeliverySystem(const KernelReading& r) {
  if (!r.deliverySystem) return kNotANumber;
  switch (*r.deliverySystem) {
    case SYS_DVBC_ANNEX_A: return "DVB-C";
    case SYS_DVBC_ANNEX_B: return "DVB-C Annex B";
    case SYS_DVBC_ANNEX_C: return "DVB-C Annex C";
    case SYS_DVBT: return "DVB-T";
    case SYS_DVBT2: return "DVB-T2";
    case SYS_DSS: return "DSS";
    case SYS_DVBS: return "DVB-S";
    case SYS_DVBS2: return "DVB-S2";
    case SYS_DVBH: return "DVB-H";
    case SYS_ISDBT: return "ISDB-T";
    case SYS_ISDBS: return "ISDB-S";
    case SYS_ISDBC: return "ISDB-C";
    case SYS_ATSC: return "ATSC";
    case SYS_ATSCMH: return "ATSC-M/H";
    case SYS_DTMB: return "DTMB";
    case SYS_CMMB: return "CMMB";
    case SYS_DAB: return "DAB";
    case SYS_TURBO: return "Turbo";
    case SYS_UNDEFINED: return "none";
    default: return "system " + std::to_string(*r.deliverySystem);
  }
}

std::string Frequency(const KernelReading& r) {
  if (!r.frequency || *r.frequency == 0) return kNotANumber;
  // Satellite systems count in kHz, the others in Hz.
  double mhz =
      r.deliverySystem && Satellite(*r.deliverySystem) ? *r.frequency / 1e3 : *r.frequency / 1e6;
  return Fixed(mhz, 3) + " MHz";
}

std::string Modulation(const KernelReading& r) {
  if (!r.modulation) return kNotANumber;
  static constexpr const char* kNames[] = {"QPSK",    "QAM-16",   "QAM-32", "QAM-64",  "QAM-128",
                                           "QAM-256", "QAM-auto", "8-VSB",  "16-VSB",  "8-PSK",
                                           "16-APSK", "32-APSK",  "DQPSK",  "QAM-4-NR"};
  if (*r.modulation < std::size(kNames)) return kNames[*r.modulation];
  return "modulation " + std::to_string(*r.modulation);
}

namespace {
std::string Level(const std::optional<KernelLevel>& level, const char* unit) {
  if (!level) return kNotANumber;
  if (level->relative) return Fixed(level->value, 0) + " %";
  return Fixed(level->value, 1) + " " + unit;
}
}  // namespace

std::string Signal(const KernelReading& r) { return Level(r.signal, "dBm"); }
std::string Cnr(const KernelReading& r) { return Level(r.cnr, "dB"); }
std::string Rate(const std::optional<double>& rate) {
  return rate ? Scientific(*rate) : kNotANumber;
}
std::string Ucb(const KernelReading& r) {
  return r.ucbTotal ? std::to_string(*r.ucbTotal) : kNotANumber;
}

std::string Version3(const KernelReading& r) {
  if (r.notTuned) return kNotTuned;
  auto raw = [](const auto& value) {
    return value ? std::to_string(*value) : std::string(kNotANumber);
  };
  return "signal " + raw(r.v3Signal) + ", SNR " + raw(r.v3Snr) + ", BER " + raw(r.v3Ber) +
         ", UCB " + raw(r.v3Ucb) + " (raw)";
}

std::string Line(const KernelReading& r) {
  if (!r.problem.empty()) return "Kernel: " + r.problem;
  std::string line = "Kernel " + DeliverySystem(r) + " " + Frequency(r) + " |";
  for (const Flag& f : kFlags)
    line += std::string(" ") + (!r.status ? '.' : (*r.status & f.bit) ? '+' : '-') + f.name;
  if (r.v3) return line + " | v3 " + Version3(r);
  line += " | Signal " + Signal(r) + " | C/N " + Cnr(r);
  line += " | pre-BER " + Rate(r.preBer) + " | post-BER " + Rate(r.postBer);
  line += " | PER " + Rate(r.per) + " | UCB " + Ucb(r);
  return line;
}

Json Disagree(const std::vector<Disagreement>& disagree) {
  Json list = Json::array();
  for (const Disagreement& d : disagree) list.push_back(d.what);
  return list;
}

std::string DisagreeLine(const std::vector<Disagreement>& disagree) {
  std::string line;
  for (const Disagreement& d : disagree) line += (line.empty() ? " | disagree: " : "; ") + d.detail;
  return line;
}

Json Object(const KernelReading& r) {
  Json o = Json::object();
  if (!r.problem.empty()) o["problem"] = r.problem;
  o["locked"] = OrNull(r.locked());
  o["status"] = OrNull(r.status);
  o["delivery_system"] = r.deliverySystem ? Json(DeliverySystem(r)) : Json(nullptr);
  o["frequency_hz"] = r.frequency && !(r.deliverySystem && Satellite(*r.deliverySystem))
                          ? Json(*r.frequency)
                      : r.frequency ? Json(uint64_t(*r.frequency) * 1000)
                                    : Json(nullptr);
  if (r.signal && r.signal->relative)
    o["signal_pct"] = r.signal->value;
  else
    o["signal_dbm"] = r.signal ? Json(r.signal->value) : Json(nullptr);
  o["cnr_db"] = r.cnr && !r.cnr->relative ? Json(r.cnr->value) : Json(nullptr);
  if (r.cnr && r.cnr->relative) o["cnr_pct"] = r.cnr->value;
  o["pre_ber"] = OrNull(r.preBer);
  o["post_ber"] = OrNull(r.postBer);
  o["per"] = OrNull(r.per);
  o["ucb_total"] = OrNull(r.ucbTotal);
  if (r.v3) {
    Json v3 = Json::object();
    v3["signal"] = OrNull(r.v3Signal);
    v3["snr"] = OrNull(r.v3Snr);
    v3["ber"] = OrNull(r.v3Ber);
    v3["ucb"] = OrNull(r.v3Ucb);
    v3["not_tuned"] = r.notTuned;
    o["v3"] = std::move(v3);
  }
  return o;
}

}  // namespace KernelText
