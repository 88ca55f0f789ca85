// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/KernelPanel.h"

#include "dvb/KernelText.h"
#include "monitor/Codes.h"
#include "numbers/Format.h"

namespace KernelPanel {
namespace {

constexpr int kRow = 210, kFirstRow = 210, kRightColumn = 2010, kLabelHeight = 195;

void Label(ViewModel& m, const char* name, int left, int row, int width) {
  Control c;
  c.kind = "label";
  c.parent = "frKernel";
  c.left = left;
  c.top = kFirstRow + row * kRow;
  c.width = width;
  c.height = kLabelHeight;
  m.Add(name, c);
}

}  // namespace

void Add(ViewModel& m) {
  if (m.Has("frKernel")) return;
  Control frame;
  frame.kind = "frame";
  frame.text = "Kernel";
  frame.tooltip = "What the kernel's driver reports for this card";
  frame.left = m.windowWidth - 90 + Gap;
  frame.top = 30;
  frame.width = Width;
  frame.height = Height;
  m.Add("frKernel", frame);
  m.windowWidth = frame.left + Width + 90;

  Label(m, "lblKSystem", 120, 0, Width - 240);
  const int lampLeft[] = {120, 780, 1500, 2220, 2850};
  for (int i = 0; i < 5; ++i) {
    Label(m, kLamps[i], lampLeft[i], 1, 600);
    m[kLamps[i]].text = KernelText::kFlags[i].name;
  }
  Label(m, "lblKSignal", 120, 2, kRightColumn - 180);
  Label(m, "lblKCnr", kRightColumn, 2, Width - kRightColumn - 120);
  Label(m, "lblKPreBer", 120, 3, kRightColumn - 180);
  Label(m, "lblKPostBer", kRightColumn, 3, Width - kRightColumn - 120);
  Label(m, "lblKPer", 120, 4, kRightColumn - 180);
  Label(m, "lblKUcb", kRightColumn, 4, Width - kRightColumn - 120);
  Label(m, "lblKNote", 120, 5, Width - 240);
  Label(m, "lblKDisagree", 120, 6, Width - 240);
  m["lblKDisagree"].fore = Color::Red;
}

void Show(ViewModel& m, const KernelReading& r, const std::vector<Disagreement>& disagree) {
  namespace T = KernelText;
  m["lblKSystem"].text =
      r.problem.empty() ? T::DeliverySystem(r) + "  " + T::Frequency(r) + "  " + T::Modulation(r)
                        : "";
  for (int i = 0; i < 5; ++i)
    m[kLamps[i]].fore = !r.status                             ? Color::Grey
                        : (*r.status & T::kFlags[i].bit) != 0 ? Color::LampGreen
                                                              : Color::Red;
  const bool v5 = r.problem.empty() && !r.v3;
  auto na = [&](const std::string& text) { return v5 ? text : std::string(kNotANumber); };
  m["lblKSignal"].text = "Signal " + na(T::Signal(r));
  m["lblKCnr"].text = "C/N " + na(T::Cnr(r));
  m["lblKPreBer"].text = "pre-BER " + na(T::Rate(r.preBer));
  m["lblKPostBer"].text = "post-BER " + na(T::Rate(r.postBer));
  m["lblKPer"].text = "PER " + na(T::Rate(r.per));
  m["lblKUcb"].text = "UCB " + na(T::Ucb(r));
  m["lblKNote"].text = !r.problem.empty() ? r.problem : r.v3 ? "v3: " + T::Version3(r) : "";
  std::string line;
  for (const Disagreement& d : disagree) line += (line.empty() ? "Disagree: " : "; ") + d.detail;
  m["lblKDisagree"].text = line;
}

}  // namespace KernelPanel
