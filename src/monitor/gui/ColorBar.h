// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QProgressBar>

// A progress bar that shows a given text and bar colour.
class ColorBar : public QProgressBar {
 public:
  explicit ColorBar(QWidget* parent) : QProgressBar(parent) { setTextVisible(true); }

  // Colour as red-in-the-low-byte; the value is drawn clamped to the range.
  void Show(int min, int max, int value, int32_t color, const QString& text);
  QString shownText() const { return text_; }
  int shownValue() const { return value_; }
  QString text() const override { return text_; }

 private:
  QString text_;
  int value_ = 0;
  int32_t color_ = -1;
};
