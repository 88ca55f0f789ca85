// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/RegisterSnapshots.h"

#include "tuner/HexEntry.h"

std::string RegisterSnapshots::SnapshotLine(int index, uint8_t value) {
  return Hex2(index) + " " + Hex2(value);
}

std::string RegisterSnapshots::DifferenceLine(uint8_t before, uint8_t after) {
  return before == after ? "" : Hex2(before) + " --> " + Hex2(after);
}

void RegisterSnapshots::Take(int p, const tda18271::Image& image, int selected) {
  Pane& pane = panes_[p];
  pane.snap = image;
  pane.lines.clear();
  for (int i = 0; i < tda18271::kRegisters; ++i) pane.lines.push_back(SnapshotLine(i, image[i]));
  pane.selected = selected;
  ShowBits(p);
  pane.visible = true;
  UpdateDifferences(selected);
}

// Picking a line selects that register everywhere; the pane's own pattern
// is shown last.
void RegisterSnapshots::PickLine(int p, int line) {
  if (line < 0 || line >= int(panes_[p].lines.size())) return;
  Follow(line);
  ShowBits(p);
}

void RegisterSnapshots::PickDifferenceLine(int line) {
  if (line < 0 || line >= int(differences_.size())) return;
  Follow(line);
  ShowBits(0);
}

void RegisterSnapshots::Follow(int r) {
  if (r < 0 || r >= tda18271::kRegisters) return;
  for (int p = 0; p < 2; ++p)
    if (Full(panes_[p].lines)) {
      panes_[p].selected = r;
      ShowBits(p);
    }
  if (Full(differences_)) {
    differenceSelected_ = r;
    ShowBits(0);
  }
}

void RegisterSnapshots::ShowBits(int p) {
  Pane& pane = panes_[p];
  if (pane.selected == kNone) return;
  pane.bits = BitPattern(pane.snap[pane.selected]);
  pane.bitsVisible = true;
}

// Until both panes hold a snapshot there is nothing to compare. Once shown,
// the list stays up, even when a later comparison finds no difference.
void RegisterSnapshots::UpdateDifferences(int selected) {
  differences_.clear();
  differenceSelected_ = kNone;
  if (panes_[0].lines.size() != panes_[1].lines.size()) return;
  bool any = false;
  for (int i = 0; i < tda18271::kRegisters; ++i) {
    differences_.push_back(DifferenceLine(panes_[0].snap[i], panes_[1].snap[i]));
    any = any || !differences_.back().empty();
  }
  differenceSelected_ = selected;
  ShowBits(0);
  if (any) differencesVisible_ = true;
}
