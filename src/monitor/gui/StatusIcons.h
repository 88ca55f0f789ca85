// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>

// The window's own icon and the four status pictures, drawn by the program:
// 1 green disc with a tick, 2 yellow triangle with "!", 3 orange diamond with
// "-", 4 red square with a cross, so they differ by shape as well as colour.
QIcon WindowIcon();
QIcon StatusIcon(int index);  // 0 gives the window icon
