// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "monitor/NoticeLimit.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

// The notification-area icon of the monitor window. While it is active a
// minimised window leaves the taskbar, and a left click brings it back in
// the state it had at start-up. Setting the icon or tooltip, or removing it,
// does nothing while inactive.
class Tray : public QObject {
  Q_OBJECT
 public:
  static constexpr int kTooltipLength = 63;  // the shell's field holds 64 with the NUL

  // `available` says whether the desktop offers a notification area.
  explicit Tray(bool available);
  ~Tray() override;

  void Add(Qt::WindowStates restoreState, QWidget* window, const QString& tooltip);
  void SetIcon(const QIcon& icon);
  void SetTooltip(const QString& text);
  void Remove();
  bool active() const { return active_; }

  QString tooltip() const { return tooltip_; }

  // What a left click on the icon does.
  void Clicked();

  // Tells a poll's events in a notification while the window is out of
  // sight (hidden or minimised) and the user has not silenced them, at most
  // one a minute; events the window shows are not told later.
  void TellEvents(const std::vector<Event>& events, std::chrono::system_clock::time_point now,
                  bool windowInSight);
  // The menu's check box that lets notifications through.
  QAction* notifyBox() const { return notify_; }
  // The last notification shown, and how many were.
  const std::optional<Notice>& lastNotice() const { return lastNotice_; }
  int noticesShown() const { return noticesShown_; }

 private:
  bool available_;
  bool active_ = false;
  QWidget* window_ = nullptr;
  Qt::WindowStates restoreState_ = Qt::WindowNoState;
  QString tooltip_;
  std::unique_ptr<QSystemTrayIcon> icon_widget_;
  std::unique_ptr<QMenu> menu_;
  QAction* notify_ = nullptr;
  NoticeLimit limit_;
  std::optional<Notice> lastNotice_;
  int noticesShown_ = 0;
};
