// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <string>
#include <vector>

#include "tuner/tda18271.h"

// The snapshot panel: two frozen copies of the tuner's register image, the
// list of registers in which they differ, and the bit pattern of the
// register selected in each pane. Line i of every list is register i.
class RegisterSnapshots {
 public:
  static constexpr int kNone = -1;

  struct Pane {
    tda18271::Image snap{};
    std::vector<std::string> lines;
    int selected = kNone;
    bool visible = false;
    std::string bits;
    bool bitsVisible = false;  // the pattern and its arrow
  };

  static std::string SnapshotLine(int index, uint8_t value);
  static std::string DifferenceLine(uint8_t before, uint8_t after);

  // Freezes the image into pane p and compares it with the other pane;
  // `selected` is the editor's register.
  void Take(int p, const tda18271::Image& image, int selected);
  // A line picked in pane p, or in the difference list (which shows the
  // pattern of pane 0).
  void PickLine(int p, int line);
  void PickDifferenceLine(int line);
  // The editor selected register r: every full list follows.
  void Follow(int r);

  const Pane& pane(int p) const { return panes_[p]; }
  const std::vector<std::string>& differences() const { return differences_; }
  int differenceSelected() const { return differenceSelected_; }
  bool differencesVisible() const { return differencesVisible_; }

 private:
  void ShowBits(int p);
  void UpdateDifferences(int selected);
  bool Full(const std::vector<std::string>& lines) const {
    return lines.size() == size_t(tda18271::kRegisters);
  }

  std::array<Pane, 2> panes_;
  std::vector<std::string> differences_;
  int differenceSelected_ = kNone;
  bool differencesVisible_ = false;
};
