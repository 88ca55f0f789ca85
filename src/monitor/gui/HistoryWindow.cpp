// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/gui/HistoryWindow.h"

#include <QBoxLayout>
#include <QDateTime>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "monitor/gui/HistoryPlot.h"

namespace {

// The chart's series hold no points: they give the legend its entries,
// while the plot item draws the data.
QLineSeries* LegendLine(const QString& name, const QColor& color) {
  auto* line = new QLineSeries;
  line->setName(name);
  line->setColor(color);
  return line;
}

QAreaSeries* LegendShading(QObject* owner, const QString& name, const QColor& color) {
  auto* area = new QAreaSeries(new QLineSeries(owner));
  area->setName(name);
  area->setBrush(color);
  area->setPen(Qt::NoPen);
  return area;
}

}  // namespace

HistoryWindow::HistoryWindow(const SignalHistory& history, QWidget* parent)
    : QWidget(parent, Qt::Window), history_(history) {
  setObjectName("frmHistory");
  setWindowTitle("Signal history");
  resize(900, 420);

  chart_ = new QChart;
  chart_->setAnimationOptions(QChart::NoAnimation);
  chart_->legend()->setAlignment(Qt::AlignBottom);
  auto* uncorrectable = new QScatterSeries;
  uncorrectable->setName("Uncorrectable errors");
  uncorrectable->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
  uncorrectable->setMarkerSize(8);
  uncorrectable->setColor(HistoryPlot::kUncorrectableColor);
  uncorrectable->setBorderColor(HistoryPlot::kUncorrectableColor);
  for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{
           LegendShading(this, "No answer", HistoryPlot::kNoAnswerColor),
           LegendShading(this, "No lock", HistoryPlot::kLockLostColor),
           LegendLine("Average (dB)", HistoryPlot::kAverageColor),
           LegendLine("SNR (dB)", HistoryPlot::kSnrColor), uncorrectable,
           LegendLine("Events", HistoryPlot::kEventColor)})
    chart_->addSeries(s);

  time_ = new QDateTimeAxis;  // shows local wall-clock time
  time_->setTickCount(7);
  db_ = new QValueAxis;
  db_->setTitleText("dB");
  db_->setLabelFormat("%.0f");
  errors_ = new QValueAxis;
  errors_->setTitleText("errors");
  errors_->setLabelFormat("%.0f");
  errors_->setTickCount(3);  // whole numbers with an even top
  chart_->addAxis(time_, Qt::AlignBottom);
  chart_->addAxis(db_, Qt::AlignLeft);
  chart_->addAxis(errors_, Qt::AlignRight);
  for (QAbstractSeries* s : chart_->series()) {
    s->attachAxis(time_);
    s->attachAxis(s == uncorrectable ? errors_ : db_);
  }
  plot_ = new HistoryPlot(chart_);
  plot_->setZValue(100);  // over the grid, under the legend

  view_ = new QChartView(chart_);
  view_->setRenderHint(QPainter::Antialiasing, false);
  view_->setRubberBand(QChartView::HorizontalRubberBand);
  view_->viewport()->installEventFilter(this);
  connect(time_, &QDateTimeAxis::rangeChanged, this,
          [this](const QDateTime& from, const QDateTime& to) {
            RangeChangedByChart(from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch());
          });

  scroll_ = new QScrollBar(Qt::Horizontal);
  connect(scroll_, &QScrollBar::valueChanged, this, &HistoryWindow::Scrolled);
  auto* zoomIn = new QPushButton("Zoom in");
  auto* zoomOut = new QPushButton("Zoom out");
  auto* latest = new QPushButton("Latest");
  zoomIn->setObjectName("cmdZoomIn");
  zoomOut->setObjectName("cmdZoomOut");
  latest->setObjectName("cmdLatest");
  connect(zoomIn, &QPushButton::clicked, this, [this] { ZoomBy(0.5); });
  connect(zoomOut, &QPushButton::clicked, this, [this] { ZoomBy(2); });
  connect(latest, &QPushButton::clicked, this, &HistoryWindow::ShowLatest);

  auto* controls = new QHBoxLayout;
  controls->addWidget(scroll_, 1);
  controls->addWidget(zoomIn);
  controls->addWidget(zoomOut);
  controls->addWidget(latest);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(controls);
  connect(chart_, &QChart::plotAreaChanged, this, &HistoryWindow::Refresh);
  Refresh();
}

int64_t HistoryWindow::NewestMs() const {
  if (!history_.empty()) return history_[history_.size() - 1].ms;
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void HistoryWindow::Refresh() {
  // A new plot area needs no new data unless its width changed (below).
  plot_->SetArea(chart_->plotArea());
  const int64_t newest = NewestMs();
  const int64_t oldest = history_.empty() ? newest : history_[0].ms;
  if (following_) endMs_ = newest;
  const int64_t fromMs = endMs_ - spanMs_;
  const int plotWidth = int(chart_->plotArea().width());
  const int columns = std::max(1, plotWidth > 0 ? plotWidth : view_->width());
  // Nothing to do when neither the stretch shown nor the history moved.
  const DrawnKey key{fromMs, endMs_, columns, newest, oldest, history_.size()};
  if (key == drawn_) return;
  drawn_ = key;
  ChartData data = history_.Decimate(fromMs, endMs_, columns);

  double top = 40;
  for (const ChartPoint& p : data.snr) top = std::max(top, p.value);
  for (const ChartPoint& p : data.average) top = std::max(top, p.value);
  top = std::ceil(top / 5) * 5;
  double most = 1;
  for (const ChartPoint& p : data.uncorrectable) most = std::max(most, p.value);

  const double errorsTop = 2 * std::ceil(most * 1.1 / 2);
  drawing_ = true;
  db_->setRange(0, top);
  errors_->setRange(0, errorsTop);
  const QString format = spanMs_ > int64_t{12} * 3600 * 1000 ? "ddd HH:mm" : "HH:mm:ss";
  if (time_->format() != format) time_->setFormat(format);
  time_->setRange(QDateTime::fromMSecsSinceEpoch(fromMs), QDateTime::fromMSecsSinceEpoch(endMs_));
  plot_->Show(std::move(data), fromMs, endMs_, top, errorsTop);
  // The scroll bar counts seconds from the oldest poll to the window's start.
  QSignalBlocker quiet(scroll_);
  const int64_t room = std::max<int64_t>(0, newest - oldest - spanMs_);
  scroll_->setRange(0, int(room / 1000));
  scroll_->setPageStep(int(std::min<int64_t>(spanMs_ / 1000, INT32_MAX)));
  scroll_->setValue(int(std::clamp<int64_t>(fromMs - oldest, 0, room) / 1000));
  drawing_ = false;
}

void HistoryWindow::ShowRange(int64_t fromMs, int64_t toMs) {
  const int64_t newest = NewestMs();
  const int64_t oldest = history_.empty() ? newest : history_[0].ms;
  spanMs_ = std::clamp<int64_t>(toMs - fromMs, kShortestSpanMs,
                                std::max(kDefaultSpanMs, newest - oldest));
  endMs_ = toMs;
  following_ = endMs_ >= newest;
  Refresh();
}

void HistoryWindow::ShowLatest() {
  following_ = true;
  Refresh();
}

void HistoryWindow::ZoomBy(double factor) {
  const int64_t middle = endMs_ - spanMs_ / 2;
  const auto span = int64_t(double(spanMs_) * factor);
  const int64_t toMs = following_ ? endMs_ : middle + span / 2;
  ShowRange(toMs - span, toMs);
}

void HistoryWindow::RangeChangedByChart(int64_t fromMs, int64_t toMs) {
  // The rubber band (and its right-click zoom out) set the axis directly.
  if (drawing_) return;
  drawn_ = {};  // the axis no longer shows what was drawn
  ShowRange(fromMs, toMs);
}

void HistoryWindow::Scrolled(int seconds) {
  if (history_.empty()) return;
  if (seconds == scroll_->maximum()) return ShowLatest();
  const int64_t fromMs = history_[0].ms + int64_t(seconds) * 1000;
  ShowRange(fromMs, fromMs + spanMs_);
}

QString HistoryWindow::EventsAt(const QPoint& viewportPos) const {
  return plot_->EventsAt(chart_->mapFromScene(view_->mapToScene(viewportPos)));
}

void HistoryWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

bool HistoryWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_->viewport() && event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = EventsAt(help->pos());
    if (text.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), text, view_->viewport());
    return true;
  }
  if (watched == view_->viewport() && event->type() == QEvent::Wheel) {
    int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (delta != 0) ZoomBy(delta > 0 ? 0.5 : 2);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}
