// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QMap>
#include <QTimer>
#include <QWidget>

#include "monitor/Monitor.h"
#include "monitor/SignalHistory.h"

class ColorBar;
class AlignWindow;
class ClickLabel;
class HistoryWindow;
class Tray;

// The monitor window: binds the monitor's view model to widgets, runs the
// poll timer and passes the user's clicks to the monitor.
class frmQuovis : public QWidget {
  Q_OBJECT
 public:
  explicit frmQuovis(Monitor& monitor, QWidget* parent = nullptr);

  // The tray icon to keep up to date; nullptr for none.
  void SetTray(Tray* tray) { tray_ = tray; }
  // A panel shown in the console area of the debug layout.
  void HostConsole(QWidget* panel);
  // Paints the model into the widgets and follows its timer interval.
  void Render();

  QWidget* control(const QString& name) const { return widgets_.value(name); }
  QTimer& tmrPoll() { return tmrPoll_; }
  Monitor& monitor() { return monitor_; }
  // Every poll goes into the history, shown or not.
  SignalHistory& history() { return history_; }
  HistoryWindow* historyWindow() const { return historyWindow_; }
  AlignWindow* alignWindow() const { return alignWindow_; }
  // Opens the alignment window (the Align button; --align at start).
  void ShowAlign();

 signals:
  void closed();
  // The user asked for another board.
  void boardWanted();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  void Apply(const QString& name, const Control& c);
  void SyncTimer();

  Monitor& monitor_;
  QMap<QString, QWidget*> widgets_;
  QTimer tmrPoll_;
  Tray* tray_ = nullptr;
  SignalHistory history_;
  HistoryWindow* historyWindow_ = nullptr;
  AlignWindow* alignWindow_ = nullptr;
};
