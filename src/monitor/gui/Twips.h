// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QRect>

// The windows are designed in twips (1/1440 inch); at 96 dpi a pixel is 15.
inline int Twips(int twips) { return (twips + 7) / 15; }
inline QRect TwipRect(int left, int top, int width, int height) {
  return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}
