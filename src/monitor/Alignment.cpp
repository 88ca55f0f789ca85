// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Alignment.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "monitor/Codes.h"
#include "monitor/DvbtThresholds.h"
#include "numbers/Format.h"

std::optional<float> ReceptionThreshold(const Reading& r) {
  switch (r.mode) {
    case Mode::Vsb8: return 15.0f;
    case Mode::Qam64: return 22.0f;
    case Mode::Qam256: return 28.0f;
    case Mode::DvbT:
      if (!r.tps) return std::nullopt;
      if (auto t = DvbtThresholds(r.tps->modulation, r.tps->codeRate)) return float((*t)[0]);
      return std::nullopt;
    default: return std::nullopt;
  }
}

const AlignFigures& Alignment::Update(const Reading& r) {
  AlignFigures& f = figures_;
  f.polled = true;
  f.answering = r.answering;
  f.locked = r.answering && r.locked();
  f.modeText = r.modeText;
  f.snr = r.snr;
  f.threshold = ReceptionThreshold(r);
  // An unlocked chip's SNR says nothing about the aerial.
  if (f.locked && std::isfinite(r.snr)) f.peak = std::max(f.peak.value_or(r.snr), r.snr);
  f.margin.reset();
  if (f.locked && f.threshold && std::isfinite(r.snr)) f.margin = RoundTenth(r.snr - *f.threshold);
  return f;
}

std::string DbText(float value) {
  // Always one decimal, so the figures keep their width as they change.
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1).ptr;
  return std::string(text, end) + " dB";
}

std::string MarginText(const AlignFigures& f) {
  if (!f.margin) return "-";
  return (*f.margin >= 0 ? "+" : "") + DbText(*f.margin);
}

std::string NoMarginReason(const AlignFigures& f) {
  if (f.margin) return "";
  if (!f.polled) return "not polled yet";
  if (!f.answering) return "no answer";
  if (!f.locked) return "not locked";
  if (!f.threshold) return "no threshold for " + (f.modeText.empty() ? "this mode" : f.modeText);
  return "no SNR";
}

std::string AlignLine(const AlignFigures& f, double toneHz) {
  std::string line = f.modeText + " | SNR " + (f.answering ? DbText(f.snr) : "-");
  line += " | peak " + (f.peak ? DbText(*f.peak) : "-");
  line += " | margin " + MarginText(f);
  if (f.margin)
    line += " over " + DbText(*f.threshold);
  else
    line += " (" + NoMarginReason(f) + ")";
  line += " | tone " + (toneHz > 0 ? std::to_string(std::lround(toneHz)) + " Hz" : "off");
  return line;
}
