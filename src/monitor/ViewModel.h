// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// What one control of the monitor window shows. Geometry is in twips,
// relative to the parent frame; colours are red-in-the-low-byte values.
struct Control {
  std::string kind;    // "frame", "label", "check", "button", "bar", "slider"
  std::string parent;  // enclosing frame, empty for the window itself
  std::string text;    // caption or text
  std::string tooltip;
  std::optional<int32_t> fore, back;
  bool visible = true;
  bool enabled = true;
  std::optional<bool> checked;
  int left = 0, top = 0, width = 0, height = 0;
  std::string tag;  // the mode label keeps its mode text here
  std::string fontFamily;
  int fontPoints = 0;
  // Bars and the slider.
  int min = 0, max = 100, value = 0;
  std::optional<int32_t> color;  // bar colour
  std::string prefix;            // text the SNR bar puts before its value
  bool wrap = false;             // a label that breaks its text into lines within its width
};

// The monitor window as data: every control by name, in design order, and
// the window's own state.
struct ViewModel {
  std::map<std::string, Control> controls;
  std::vector<std::string> order;

  std::string title;
  int windowWidth = 0, windowHeight = 0;  // client area, twips
  int statusIcon = 0;                     // 0 window icon, 1..4 green, yellow, orange, red
  std::string trayTooltip;
  bool answering = true;  // false when a read of the last poll got no answer
  int timerInterval = 0;  // ms, 0 = stopped

  Control& operator[](const std::string& name) { return controls.at(name); }
  const Control& operator[](const std::string& name) const { return controls.at(name); }
  bool Has(const std::string& name) const { return controls.count(name) != 0; }
  Control& Add(const std::string& name, Control c) {
    order.push_back(name);
    return controls[name] = std::move(c);
  }
};

// Colour value (red in the low byte) as "#RRGGBB".
std::string ColorText(int32_t color);
// What is wrong with a model, empty when nothing is: a text that shows a
// non-finite number ("inf", "nan"), or a report that is not valid JSON.
std::string ModelProblem(const ViewModel& model);
// The whole model as one JSON object: {"title": ..., "controls": {...}}.
std::string ViewModelJson(const ViewModel& model);
