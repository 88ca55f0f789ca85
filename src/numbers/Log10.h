// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cmath>

// The base-10 logarithm of the drivers' SNR formulas.
inline double Log10(double x) { return std::log10(x); }
