// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "monitor/gui/Twips.h"

// The named child of the given type; a missing one ends the test program.
template <typename W>
W* Child(const QObject* parent, const QString& name) {
  W* widget = parent->findChild<W*>(name);
  if (!widget) qFatal("no control %s", qPrintable(name));
  return widget;
}

// Types into a box and moves on to the next control, as the user would.
inline void Enter(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, text);
  QTest::keyClick(box, Qt::Key_Tab);
}

// The lines of a list, top to bottom.
inline QStringList Lines(const QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

// What a button of the window overlaps: another visible control, the place
// the TPS panel opens into (below the status frame), or the window's edge.
// Empty when it stands clear.
inline QString Overlaps(const QWidget& window, const QWidget& button) {
  if (!window.rect().contains(button.geometry())) return "the window's edge";
  for (QWidget* other : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == &button || !other->isVisible() || other->isWindow()) continue;
    if (other->geometry().intersects(button.geometry())) return other->objectName();
  }
  if (TwipRect(4920, 30 + 1815 + 75, 1815, 1815).intersects(button.geometry())) return "TPS";
  return {};
}
