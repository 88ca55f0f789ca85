// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/gui/ColorBar.h"

#include <algorithm>

void ColorBar::Show(int min, int max, int value, int32_t color, const QString& text) {
  value_ = value;
  text_ = text;
  if (max < min) max = min;
  setRange(min, max);
  setValue(std::clamp(value, min, max));
  if (color != color_) {
    color_ = color;
    setStyleSheet(QString("QProgressBar { border: 1px solid #808080; background: #F0F0F0;"
                          " text-align: center; color: black; }"
                          " QProgressBar::chunk { background: rgb(%1, %2, %3); }")
                      .arg(color & 0xFF)
                      .arg((color >> 8) & 0xFF)
                      .arg((color >> 16) & 0xFF));
  }
  update();
}
