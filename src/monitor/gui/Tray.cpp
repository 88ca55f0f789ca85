// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/gui/Tray.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>
#include <iostream>

Tray::Tray(bool available) : available_(available), menu_(std::make_unique<QMenu>()) {
  notify_ = menu_->addAction("Notify when the signal changes");
  notify_->setObjectName("chkNotify");
  notify_->setCheckable(true);
  notify_->setChecked(true);
}
Tray::~Tray() = default;

void Tray::Add(Qt::WindowStates restoreState, QWidget* window, const QString& tooltip) {
  if (active_) return;
  if (!available_) {
    std::cerr << "quovis: no system tray on this desktop; running without a tray icon\n";
    return;
  }
  window_ = window;
  restoreState_ = restoreState & Qt::WindowMinimized ? Qt::WindowNoState : restoreState;
  tooltip_ = tooltip.left(kTooltipLength);
  icon_widget_ = std::make_unique<QSystemTrayIcon>(window->windowIcon());
  icon_widget_->setToolTip(tooltip_);
  icon_widget_->setContextMenu(menu_.get());
  connect(icon_widget_.get(), &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger) Clicked();
          });
  icon_widget_->show();
  active_ = true;
}

void Tray::SetIcon(const QIcon& icon) {
  if (!active_) return;
  icon_widget_->setIcon(icon);
}

void Tray::SetTooltip(const QString& text) {
  if (!active_) return;
  tooltip_ = text.left(kTooltipLength);
  icon_widget_->setToolTip(tooltip_);
}

void Tray::Remove() {
  if (!active_) return;
  icon_widget_->hide();
  icon_widget_.reset();
  active_ = false;
}

void Tray::Clicked() {
  if (!active_ || !window_) return;
  if (window_->isMinimized() || window_->isHidden()) {
    window_->setWindowState(restoreState_);
    window_->show();
  }
  window_->raise();
  window_->activateWindow();
}

void Tray::TellEvents(const std::vector<Event>& events, std::chrono::system_clock::time_point now,
                      bool windowInSight) {
  if (!active_) return;
  if (windowInSight || !notify_->isChecked()) {
    limit_.Clear();
    return;
  }
  std::optional<Notice> notice = limit_.Take(events, now);
  if (!notice) return;
  const bool better = notice->kind == Event::Kind::LockRegained ||
                      notice->kind == Event::Kind::AnswerRegained ||
                      notice->kind == Event::Kind::ViewsAgree;
  icon_widget_->showMessage("quovis: " + QString::fromStdString(notice->title),
                            QString::fromStdString(notice->text),
                            better ? QSystemTrayIcon::Information : QSystemTrayIcon::Warning);
  lastNotice_ = std::move(notice);
  ++noticesShown_;
}
