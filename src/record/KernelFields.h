// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "json/Json.h"
#include "monitor/Reading.h"

// What a record adds for the kernel's view, in column order: kernel_locked,
// kernel_signal_dbm, kernel_signal_pct, kernel_cnr_db, kernel_pre_ber,
// kernel_post_ber, kernel_per, kernel_ucb_total (null where the driver gave
// nothing) and disagree (the names of what disagrees). Nothing without a
// frontend.
std::vector<std::pair<const char*, Json>> KernelFields(const Reading& reading);
// One of those values as a CSV field: empty for null, 1/0, the names
// joined by ';'.
std::string KernelCsvField(const Json& value);
