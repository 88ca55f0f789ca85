#include "demod/atsc/LgLabels.h"

#include <cstdio>

#include "monitor/MonitorView.h"

std::string Hex32(int32_t value) {
  char text[12];
  std::snprintf(text, sizeof text, "%X", unsigned(uint32_t(value)));
  return text;
}

void LabelLgLockPanel(MonitorView& view, int32_t rfAgc, int32_t ifAgc) {
  view.SetCaption("lblAFCLock", "Carrier Lock");
  view.SetCaption("lblVSBSync", "Sync Lock");
  view.SetCaption("lblEQLock", "SNR GOOD");
  view.SetCaption("frQAM", "AGC:");
  view.SetCaption("lblAGC", "RF_AGC: " + Hex32(rfAgc));
  view.SetCaption("lblIFGain", "IF_AGC: " + Hex32(ifAgc));
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
