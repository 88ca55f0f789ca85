// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <string>
#include <vector>

#include "dvb/Disagreement.h"
#include "dvb/KernelReading.h"
#include "json/Json.h"

// The kernel's view in words and numbers, for the window, the headless
// line, the reports and the records. Whatever the driver did not give is
// "n/a" (null in JSON), never 0.
namespace KernelText {

inline constexpr const char* kNotTuned = "not tuned by any application";

// The five status flags, in the order of the panel's lamps.
struct Flag {
  uint32_t bit;
  const char* name;
};
inline constexpr std::array<Flag, 5> kFlags = {{{FE_HAS_SIGNAL, "Signal"},
                                                {FE_HAS_CARRIER, "Carrier"},
                                                {FE_HAS_VITERBI, "Viterbi"},
                                                {FE_HAS_SYNC, "Sync"},
                                                {FE_HAS_LOCK, "Lock"}}};

std::string DeliverySystem(const KernelReading& r);   // "DVB-T", "ATSC" ...
std::string Frequency(const KernelReading& r);        // "474.000 MHz"
std::string Modulation(const KernelReading& r);       // "QAM-64", "8-VSB" ...
std::string Signal(const KernelReading& r);           // "-45.5 dBm", "50 %", "n/a"
std::string Cnr(const KernelReading& r);              // "21.3 dB", "n/a"
std::string Rate(const std::optional<double>& rate);  // "1.00E-05", "n/a"
std::string Ucb(const KernelReading& r);              // "17", "n/a"
// The version-3 raw values, or why there are none.
std::string Version3(const KernelReading& r);

// The headless line's part: "Kernel +Signal +Carrier ... | ...".
std::string Line(const KernelReading& r);
// What disagrees, by name: ["snr"], empty when the views agree.
Json Disagree(const std::vector<Disagreement>& disagree);
// The headless line's part for the disagreements: " | disagree: SNR by 4.2 dB".
std::string DisagreeLine(const std::vector<Disagreement>& disagree);
// The report's "kernel" object with typed fields, null where not available.
Json Object(const KernelReading& r);

}  // namespace KernelText
