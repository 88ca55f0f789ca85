// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdio>
#include <cstdlib>

#include "monitor/ViewModel.h"

// Stops the run when a poll left the window model ill-formed.
inline void CheckModel(const ViewModel& model) {
  std::string problem = ModelProblem(model);
  if (problem.empty()) return;
  std::fprintf(stderr, "%s\n", problem.c_str());
  std::abort();
}
