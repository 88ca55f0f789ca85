// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/DesignLayout.h"

namespace {

Control Make(const char* kind, const char* parent, const char* text, int left, int top, int width,
             int height, const char* tooltip = "") {
  Control c;
  c.kind = kind;
  c.parent = parent;
  c.text = text;
  c.tooltip = tooltip;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  return c;
}

}  // namespace

ViewModel DesignModel(bool debugLayout) {
  ViewModel m;
  m.title = "Digital Signal Quality";
  m.windowWidth = debugLayout ? Design::LineRightX : Design::LineNormalX;
  m.windowHeight = debugLayout ? Design::LineBottomY : Design::LineNormalY;

  // Left column: the three bars, the poll-rate slider and its end labels.
  auto bar = [&](const char* name, const char* prefix, int top) {
    Control c = Make("bar", "", prefix, 150, top, 2730, 315);
    c.prefix = prefix;
    c.min = 0;
    c.max = 100;
    m.Add(name, c);
  };
  bar("vbalProgressBar1", "SNR ", 90);
  bar("vbalProgressBar2", "Uncorrectable Errors: ", 480);
  bar("vbalProgressBar3", "Correctable Errors: ", 870);
  Control slider = Make("slider", "", "", 150, 1260, 2730, 300);
  slider.min = 0;
  slider.max = 5000;
  slider.value = 800;
  m.Add("Slider1", slider);
  m.Add("Label2", Make("label", "", "Faster", 90, 1560, 600, 195));
  m.Add("Label1", Make("label", "", "Slower", 2310, 1560, 600, 195));

  m.Add("frLock", Make("frame", "", "Status", 3030, 30, 1815, 1815));
  m.Add("lblMode", Make("label", "frLock", "Mode", 240, 270, 480, 195));
  m.Add("lblMasterLock", Make("label", "frLock", "Master Lock", 240, 510, 1065, 195));
  m.Add("lblEQLock", Make("label", "frLock", "EQ Lock", 240, 750, 750, 195));
  m.Add("lblFECLock", Make("label", "frLock", "FEC Lock", 240, 990, 840, 195));
  m.Add("lblVSBSync", Make("label", "frLock", "VSB Sync", 240, 1260, 855, 195));
  m.Add("lblAFCLock", Make("label", "frLock", "AFC Lock", 240, 1500, 840, 195));

  // Wider than first drawn so "constellation:" and "fft size:" fit the font.
  Control tps = Make("frame", "", "TPS", 4920, 30, 1815, 1815);
  tps.visible = false;
  m.Add("frTPS", tps);
  // A field of the TPS frame: its caption, and its value under it.
  auto tpsField = [&](const std::string& name, const char* caption, const char* value, int left,
                      int top, int width) {
    m.Add(name + "K", Make("label", "frTPS", caption, left, top, width, 195));
    m.Add(name, Make("label", "frTPS", value, left, top + 180, width, 195));
  };
  tpsField("lblConst", "constellation:", "CONST", 120, 150, 1095);
  tpsField("lblHierarchy", "hierarchy:", "HIERARCHY", 120, 540, 1095);
  tpsField("lblCodeRate", "code rate:", "CODE RATE", 120, 930, 1095);
  tpsField("lblGuard", "guard:", "GUARD", 120, 1320, 795);
  tpsField("lblTransmissionMode", "fft size:", "MODE", 960, 1320, 795);

  auto check = [&](const char* name, const char* text, int left, int top, int width, int height) {
    Control c = Make("check", "", text, left, top, width, height);
    c.checked = false;
    return &m.Add(name, c);
  };
  check("chkPassthru", "I2C Pass", 5100, 180, 1200, 285);
  check("chkSleep", "Sleep", 5100, 480, 1200, 285);
  check("chkPoll", "Poll", 6480, 810, 735, 375)->checked = true;
  m.Add("cmdUpdate", Make("button", "", "Update", 6345, 1260, 870, 375));

  m.Add("frErrors", Make("frame", "", "Error Counts", 150, 2280, 1935, 1245));
  m.Add("lblUncorError", Make("label", "frErrors", "Uncor Errors", 120, 240, 1455, 255));
  m.Add("lblUcBer", Make("label", "frErrors", "BER", 360, 480, 1095, 255, "UcBer"));
  m.Add("lblPost", Make("label", "frErrors", "POST TCM", 120, 720, 1455, 255));
  m.Add("lblBER", Make("label", "frErrors", "BER", 360, 960, 1095, 255, "BER"));
  m.Add("frF0F1", Make("frame", "", "Reg F0 / F1 / F2", 2340, 2280, 2505, 615));
  m.Add("lblF0F1", Make("label", "frF0F1", "F0 / F1", 240, 240, 2055, 255, "SNR Registers"));
  m.Add("lblCarrier", Make("frame", "", "Carrier", 2340, 2940, 1935, 855));
  m.Add("lblCOffset",
        Make("label", "lblCarrier", "Carrier Offset", 240, 240, 1335, 255, "Carrier Offset"));
  m.Add("lblCOHex",
        Make("label", "lblCarrier", "Carrier Offset", 240, 480, 1335, 255, "Carrier Offset Hex"));
  m.Add("frQAM", Make("frame", "", "QAM", 150, 3600, 1935, 1335));
  m.Add("lblAGC", Make("label", "frQAM", "AGC", 240, 240, 1575, 255, "AGC"));
  m.Add("lblIFGain", Make("label", "frQAM", "IF Gain", 240, 480, 1575, 255, "IF Gain"));
  m.Add("lblSTRTime", Make("label", "frQAM", "Str Time", 240, 720, 1575, 255, "Str Time"));
  m.Add("lblFreqOffset", Make("label", "frQAM", "Freq Offset", 240, 960, 1575, 255, "Freq Offset"));
  m.Add("frVSB", Make("frame", "", "VSB", 2340, 3870, 1935, 1065));
  m.Add("lblSymbolTiming",
        Make("label", "frVSB", "Sym Timing Rec", 240, 240, 1575, 255, "Sym Timing Rec"));
  m.Add("lblAutoFreq", Make("label", "frVSB", "Auto Freq", 240, 480, 1575, 255, "AutoFreq"));
  m.Add("lblPilot", Make("label", "frVSB", "Pilot Pwr", 240, 720, 1575, 255, "Pilot Pwr"));
  // Wide enough for an unrounded average beside the reading.
  m.Add("frSNR", Make("frame", "", "SNR", 240, 5310, 2745, 615));
  m.Add("lblSNR", Make("label", "frSNR", "SNR", 120, 240, 2505, 255, "SNR"));
  // The console's log; the TPS layout hides it outside the debug layout.
  m.Add("lstLog",
        Make("list", "", "", Design::ConsoleLeft, Design::ConsoleTop, Design::ConsoleWidth, 2400));
  return m;
}
