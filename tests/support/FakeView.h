// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>
#include <string>

#include "monitor/MonitorView.h"

// Records what a driver did to the window.
class FakeView : public MonitorView {
 public:
  std::map<std::string, std::string> captions;
  std::map<std::string, int> widths;
  std::map<std::string, bool> visible;
  std::map<std::string, std::pair<std::string, int>> fonts;
  std::string barPrefix = "SNR ";
  int colorizeCalls = 0;
  int32_t colorizeResult = 0x00FF00;
  float lastColorized = 0;

  void SetCaption(const std::string& c, const std::string& text) override { captions[c] = text; }
  void SetWidth(const std::string& c, int twips) override { widths[c] = twips; }
  void SetVisible(const std::string& c, bool v) override { visible[c] = v; }
  void SetFont(const std::string& c, const std::string& family, int points) override {
    fonts[c] = {family, points};
  }
  void SetSnrBarPrefix(const std::string& prefix) override { barPrefix = prefix; }
  void ColorizeSNR(float aSNR, int32_t& color) override {
    ++colorizeCalls;
    lastColorized = aSNR;
    color = colorizeResult;
  }
};
