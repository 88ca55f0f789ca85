// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/gui/frmQuovis.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QListWidget>
#include <QMediaDevices>
#include <QPushButton>
#include <QSlider>

#include "monitor/DesignLayout.h"
#include "monitor/gui/AlignWindow.h"
#include "monitor/gui/ClickLabel.h"
#include "monitor/gui/ColorBar.h"
#include "monitor/gui/HistoryWindow.h"
#include "monitor/gui/StatusIcons.h"
#include "monitor/gui/Tray.h"
#include "monitor/gui/Twips.h"

namespace {

QColor ToQColor(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

frmQuovis::frmQuovis(Monitor& monitor, QWidget* parent) : QWidget(parent), monitor_(monitor) {
  setObjectName("frmQuovis");
  setWindowIcon(WindowIcon());
  // The design's small dialog font, and frames drawn with their caption on
  // the border so the children keep their designed places.
  QFont small = font();
  small.setPointSize(8);
  setFont(small);
  setStyleSheet(
      "QGroupBox { border: 1px solid #A0A0A0; border-radius: 2px; margin-top: 6px; }"
      " QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }");
  Build();
  // The history button sits beside "Update", clear of the TPS panel's place.
  auto* history = new QPushButton("History", this);
  history->setObjectName("cmdHistory");
  history->setGeometry(TwipRect(5355, 1260, 870, 375));
  widgets_.insert("cmdHistory", history);
  // "Board…" sits above Update, right of the I2C Pass box, clear of the TPS
  // panel too.
  auto* board = new QPushButton("Board…", this);
  board->setObjectName("cmdBoard");
  board->setGeometry(TwipRect(6345, 180, 870, 375));
  widgets_.insert("cmdBoard", board);
  connect(board, &QPushButton::clicked, this, &frmQuovis::boardWanted);
  historyWindow_ = new HistoryWindow(history_, this);
  connect(history, &QPushButton::clicked, this, [this] {
    historyWindow_->show();
    historyWindow_->raise();
  });
  // Align sits above History, beside Poll; its window's polls show here too.
  auto* align = new QPushButton("Align", this);
  align->setObjectName("cmdAlign");
  align->setGeometry(TwipRect(5355, 810, 870, 375));
  widgets_.insert("cmdAlign", align);
  alignWindow_ = new AlignWindow(
      monitor_, [] { return QMediaDevices::defaultAudioOutput(); }, this);
  connect(align, &QPushButton::clicked, this, &frmQuovis::ShowAlign);
  connect(alignWindow_, &AlignWindow::polled, this, &frmQuovis::Render);
  monitor_.AddPollObserver([this](const Reading& reading) {
    if (tray_) tray_->TellEvents(reading.events, reading.timestamp, isVisible() && !isMinimized());
    history_.Append(reading);
    if (historyWindow_->isVisible()) historyWindow_->Refresh();
  });
  connect(&tmrPoll_, &QTimer::timeout, this, [this] {
    monitor_.Poll();
    Render();
  });
  Render();
}

void frmQuovis::ShowAlign() {
  alignWindow_->show();
  alignWindow_->raise();
}

void frmQuovis::Build() {
  for (const auto& name : monitor_.model.order) {
    const Control& c = monitor_.model[name];
    QWidget* parent = c.parent.empty() ? this : widgets_.value(QString::fromStdString(c.parent));
    QWidget* w = nullptr;
    if (c.kind == "frame") {
      w = new QGroupBox(parent);
    } else if (c.kind == "label") {
      auto* label = name == "lblMode" ? new ClickLabel(parent) : new QLabel(parent);
      label->setWordWrap(c.wrap);
      if (name == "lblMode") {
        label->setCursor(Qt::PointingHandCursor);
        connect(static_cast<ClickLabel*>(label), &ClickLabel::clicked, this, [this] {
          monitor_.ModeLabelClicked();
          Render();
        });
      }
      w = label;
    } else if (c.kind == "check") {
      auto* box = new QCheckBox(parent);
      QString n = QString::fromStdString(name);
      connect(box, &QCheckBox::clicked, this, [this, n](bool ticked) {
        if (n == "chkPoll")
          monitor_.PollToggled(ticked);
        else if (n == "chkPassthru")
          monitor_.PassthruToggled(ticked);
        else if (n == "chkSleep")
          monitor_.SleepToggled(ticked);
        Render();
      });
      w = box;
    } else if (c.kind == "button") {
      auto* button = new QPushButton(parent);
      connect(button, &QPushButton::clicked, this, [this] {
        monitor_.UpdateClicked();
        Render();
      });
      w = button;
    } else if (c.kind == "bar") {
      w = new ColorBar(parent);
    } else if (c.kind == "slider") {
      auto* slider = new QSlider(Qt::Horizontal, parent);
      slider->setTracking(false);  // one interval change when the user lets go
      slider->setTickPosition(QSlider::TicksBelow);
      slider->setTickInterval(500);
      connect(slider, &QSlider::valueChanged, this, [this](int value) {
        monitor_.SliderChanged(value);
        Render();
      });
      w = slider;
    } else {
      continue;  // the console's log belongs to the console panel
    }
    w->setObjectName(QString::fromStdString(name));
    widgets_.insert(QString::fromStdString(name), w);
  }
}

void frmQuovis::HostConsole(QWidget* panel) {
  panel->setParent(this);
  panel->setGeometry(TwipRect(Design::ConsoleLeft, Design::ConsoleTop, Design::ConsoleWidth,
                              Design::ConsoleHeight));
  if (auto* log = panel->findChild<QListWidget*>("lstLog")) widgets_.insert("lstLog", log);
  panel->show();
}

void frmQuovis::Apply(const QString& name, const Control& c) {
  QWidget* w = widgets_.value(name);
  if (!w) return;
  QString text = QString::fromStdString(c.text);
  if (name != "lstLog") {
    QRect place = TwipRect(c.left, c.top, c.width, c.height);
    // Labels grow to their text, as the design's auto-sized labels do;
    // a wrapping label keeps its place and breaks its text instead.
    if (c.kind == "label" && !c.wrap) {
      static_cast<QLabel*>(w)->setText(QString::fromStdString(c.text));
      place.setWidth(std::max(place.width(), w->sizeHint().width()));
      place.setHeight(std::max(place.height(), w->sizeHint().height()));
    }
    w->setGeometry(place);
  }
  // Outside the debug layout the readings frames lie beyond the window's
  // cut; they stay hidden even when the TPS panel makes the window taller.
  bool beyondCut = !monitor_.debugLayout() && c.parent.empty() && name != "frTPS" &&
                   c.top >= Design::LineNormalY;
  w->setVisible(c.visible && !beyondCut);
  w->setToolTip(QString::fromStdString(c.tooltip));
  if (!c.fontFamily.empty()) w->setFont(QFont(QString::fromStdString(c.fontFamily), c.fontPoints));
  if (c.kind == "frame") {
    static_cast<QGroupBox*>(w)->setTitle(text);
  } else if (c.kind == "label") {
    auto* label = static_cast<QLabel*>(w);
    label->setText(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, c.fore ? ToQColor(*c.fore) : QColor(Qt::black));
    if (c.back) palette.setColor(QPalette::Window, ToQColor(*c.back));
    label->setAutoFillBackground(c.back.has_value());
    label->setPalette(palette);
  } else if (c.kind == "check") {
    auto* box = static_cast<QCheckBox*>(w);
    QSignalBlocker quiet(box);
    box->setText(text);
    box->setChecked(c.checked.value_or(false));
    box->setEnabled(c.enabled);
  } else if (c.kind == "button") {
    static_cast<QPushButton*>(w)->setText(text);
  } else if (c.kind == "bar") {
    static_cast<ColorBar*>(w)->Show(c.min, c.max, c.value, c.color.value_or(0x00FF00), text);
  } else if (c.kind == "slider") {
    auto* slider = static_cast<QSlider*>(w);
    QSignalBlocker quiet(slider);
    slider->setRange(c.min, c.max);
    slider->setValue(c.value);
    slider->setEnabled(c.enabled);
  }
}

void frmQuovis::Render() {
  const ViewModel& m = monitor_.model;
  setWindowTitle(QString::fromStdString(m.title));
  for (const auto& name : m.order) Apply(QString::fromStdString(name), m[name]);
  if (!isMinimized()) setFixedSize(Twips(m.windowWidth), Twips(m.windowHeight));
  if (tray_ && tray_->active()) {
    tray_->SetIcon(m.statusIcon ? StatusIcon(m.statusIcon) : windowIcon());
    tray_->SetTooltip(QString::fromStdString(m.trayTooltip));
  }
  SyncTimer();
}

void frmQuovis::SyncTimer() {
  int interval = monitor_.model.timerInterval;
  if (interval == 0) {
    tmrPoll_.stop();
  } else if (!tmrPoll_.isActive() || tmrPoll_.interval() != interval) {
    tmrPoll_.start(interval);
  }
}

void frmQuovis::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    monitor_.minimized = isMinimized();
    // A minimised window lives only in the tray.
    if (isMinimized() && tray_ && tray_->active())
      QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
  }
  QWidget::changeEvent(event);
}

void frmQuovis::closeEvent(QCloseEvent* event) {
  if (tray_ && tray_->active()) tray_->Remove();
  tmrPoll_.stop();
  event->accept();
  emit closed();
}
