// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <vector>

#include "dvb/Disagreement.h"
#include "dvb/KernelReading.h"
#include "monitor/ViewModel.h"

// The "Kernel" panel: the kernel driver's view of the card beside the
// register view. It exists only while a frontend is read; the window grows
// to the right to make room for it, in either layout.
namespace KernelPanel {

constexpr int Width = 3900, Height = 1815, Gap = 75;
// The panel's lamps, in the order of KernelText::kFlags.
inline constexpr const char* kLamps[] = {"lblKHasSignal", "lblKHasCarrier", "lblKHasViterbi",
                                         "lblKHasSync", "lblKHasLock"};

void Add(ViewModel& model);
void Show(ViewModel& model, const KernelReading& reading,
          const std::vector<Disagreement>& disagree);

}  // namespace KernelPanel
