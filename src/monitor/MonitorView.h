// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

// What a driver may do to the monitor window while it answers: relabel,
// resize, hide or show a named control, change a frame's font, set the SNR
// bar's prefix, and colour a DVB SNR by the current transmission parameters.
// Widths are in twips.
class MonitorView {
 public:
  virtual ~MonitorView() = default;
  virtual void SetCaption(const std::string& control, const std::string& caption) = 0;
  virtual void SetWidth(const std::string& control, int twips) = 0;
  virtual void SetVisible(const std::string& control, bool visible) = 0;
  virtual void SetFont(const std::string& control, const std::string& family, int points) = 0;
  virtual void SetSnrBarPrefix(const std::string& prefix) = 0;
  virtual void ColorizeSNR(float aSNR, int32_t& color) = 0;
};
