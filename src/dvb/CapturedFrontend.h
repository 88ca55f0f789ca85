// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>

// A frontend's answers as one poll read them, for a board file to replay:
// the status, the tuning properties, the statistics with their scales, and
// for a driver without version-5 statistics its version-3 numbers.
struct CapturedFrontend {
  uint32_t status = 0;
  uint32_t deliverySystem = SYS_UNDEFINED, frequency = 0, modulation = QAM_AUTO;
  std::map<uint32_t, dtv_stats> stats;  // by DTV_STAT_*; a missing one had len 0
  // By FE_READ_* request; a missing one answered EAGAIN (no application tuned it).
  std::map<unsigned long, uint32_t> v3;
};

// The board file's names of the statistics and of their scales.
struct FrontendName {
  uint32_t code;
  const char* name;
};
inline constexpr std::array<FrontendName, 8> kStatNames = {{
    {DTV_STAT_SIGNAL_STRENGTH, "signal_strength"},
    {DTV_STAT_CNR, "cnr"},
    {DTV_STAT_PRE_ERROR_BIT_COUNT, "pre_error_bit_count"},
    {DTV_STAT_PRE_TOTAL_BIT_COUNT, "pre_total_bit_count"},
    {DTV_STAT_POST_ERROR_BIT_COUNT, "post_error_bit_count"},
    {DTV_STAT_POST_TOTAL_BIT_COUNT, "post_total_bit_count"},
    {DTV_STAT_ERROR_BLOCK_COUNT, "error_block_count"},
    {DTV_STAT_TOTAL_BLOCK_COUNT, "total_block_count"},
}};
inline constexpr std::array<FrontendName, 4> kScaleNames = {{{FE_SCALE_NOT_AVAILABLE, "n/a"},
                                                             {FE_SCALE_DECIBEL, "decibel"},
                                                             {FE_SCALE_RELATIVE, "relative"},
                                                             {FE_SCALE_COUNTER, "counter"}}};
inline constexpr std::array<FrontendName, 4> kV3Names = {{{FE_READ_SIGNAL_STRENGTH, "signal"},
                                                          {FE_READ_SNR, "snr"},
                                                          {FE_READ_BER, "ber"},
                                                          {FE_READ_UNCORRECTED_BLOCKS, "ucb"}}};
