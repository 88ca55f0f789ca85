// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/LgLabels.h"

#include "monitor/MonitorView.h"
#include "numbers/Format.h"

void LabelLgLockPanel(MonitorView& view, int32_t rfAgc, int32_t ifAgc) {
  view.SetCaption("lblAFCLock", "Carrier Lock");
  view.SetCaption("lblVSBSync", "Sync Lock");
  view.SetCaption("lblEQLock", "SNR GOOD");
  view.SetCaption("frQAM", "AGC:");
  view.SetCaption("lblAGC", "RF_AGC: " + Hex(uint32_t(rfAgc)));
  view.SetCaption("lblIFGain", "IF_AGC: " + Hex(uint32_t(ifAgc)));
  view.SetVisible("frVSB", false);
  view.SetVisible("lblSTRTime", false);
  view.SetVisible("lblFreqOffset", false);
}

void WidenLgCarrierFrame(MonitorView& view, const std::string& caption) {
  view.SetCaption("lblCarrier", caption);
  view.SetWidth("lblCarrier", 2500);
  view.SetWidth("lblCOffset", 1935);
  view.SetWidth("lblCOHex", 1935);
}
