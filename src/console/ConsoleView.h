// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// The console's text boxes, as the console writes back into them.
enum class ConsoleBox { Address, SubAddr, Data, ReadCount };

// What the console changes in its window: the log and the box texts.
class ConsoleView {
 public:
  virtual ~ConsoleView() = default;
  // Adds a line at the end of the log and selects it, which brings it into view.
  virtual void AppendLog(const std::string& line) = 0;
  virtual void ClearLog() = 0;
  virtual void SetBoxText(ConsoleBox box, const std::string& text) = 0;
};
