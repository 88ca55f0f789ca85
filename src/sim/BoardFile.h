// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "sim/SimBoard.h"

// Reads a board description (a register dump to replay, or exact register
// contents for a test):
//   {"types": [24],
//    "devices": [{"chip": "s5h1409", "address": "0x32",
//                 "registers": {"0xF2": "0x0000"},
//                 "fault": {"nak": false, "fail_first": 0,
//                           "unlocked_polls": [[3, 5]]}}],
//    "frontend": {"cnr_scale": 10, "signal_sign": -1, "stats": "v3",
//                 "no_writer": true, "available_after_lock": true, "absent": true,
//                 "captured": {"status": 31, "delivery_system": 11, "frequency": 575000000,
//                              "modulation": 7,
//                              "stats": {"cnr": {"scale": "decibel", "value": 22600}},
//                              "v3": {"snr": 226}}}}
// A file board is static. On any error nothing is returned and the reason
// names the file and the offending entry.
std::unique_ptr<SimBoard> LoadBoardFile(const std::string& path, std::string& error);
std::unique_ptr<SimBoard> ParseBoard(const std::string& text, const std::string& name,
                                     std::string& error);
