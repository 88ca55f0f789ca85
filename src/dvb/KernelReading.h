// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <linux/dvb/frontend.h>

#include <cstdint>
#include <optional>
#include <string>

// A level the driver reports either in decibels (dBm for strength) or as a
// share of its own full scale (0..100 %).
struct KernelLevel {
  bool relative = false;
  double value = 0;  // dB / dBm, or %
  bool operator==(const KernelLevel&) const = default;
};

// What one poll got from the kernel's driver of the card through the DVB
// frontend node. Everything optional is absent ("n/a") when the driver gave
// nothing for it; nothing absent is ever shown as 0.
struct KernelReading {
  // Set when the poll failed as a whole; the rest is then empty.
  std::string problem;

  std::optional<uint32_t> status;  // FE_HAS_* and FE_TIMEDOUT bits
  std::optional<uint32_t> deliverySystem, frequency, modulation;

  // Version-5 statistics (stat[0], the whole signal).
  std::optional<KernelLevel> signal, cnr;
  // Rates over the counters' change since the previous poll: none on the
  // first poll, while a counter is not available, when nothing was counted,
  // and on a poll where a counter went down (reset by a retune).
  std::optional<double> preBer, postBer, per;
  std::optional<uint64_t> ucbTotal;  // error blocks counted since the last reset
  std::optional<uint64_t> postErrorBits, blockCount;

  // A driver without version-5 statistics: the raw version-3 numbers,
  // whose scale only the driver knows. notTuned when the kernel answered
  // EAGAIN: no application has the frontend open for writing.
  bool v3 = false;
  bool notTuned = false;
  std::optional<uint16_t> v3Signal, v3Snr;
  std::optional<uint32_t> v3Ber, v3Ucb;

  std::optional<bool> locked() const {
    if (!status) return std::nullopt;
    return (*status & FE_HAS_LOCK) != 0;
  }
};
