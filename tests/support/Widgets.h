// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

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
