// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPushButton>
#include <QTest>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <functional>

#include "app/CommandLine.h"
#include "app/Session.h"
#include "monitor/gui/HistoryPlot.h"
#include "monitor/gui/HistoryWindow.h"
#include "monitor/gui/frmQuovis.h"
#include "support/StartedWindow.h"

// The history chart of the monitor window on a simulated S5H1409.
class HistoryWindowTest : public QObject {
  Q_OBJECT

  struct Started {
    std::unique_ptr<Session> session;
    std::unique_ptr<frmQuovis> window;
    HistoryWindow& chart() { return *window->historyWindow(); }
  };

  static Started Start() {
    Started s;
    s.session = StartSession({"--bus=sim:s5h1409"});
    s.window = std::make_unique<frmQuovis>(s.session->monitor());
    s.window->Render();
    return s;
  }

  static qint64 AxisFrom(HistoryWindow& c) { return c.timeAxis()->min().toMSecsSinceEpoch(); }
  static qint64 AxisTo(HistoryWindow& c) { return c.timeAxis()->max().toMSecsSinceEpoch(); }

  // `n` readings a second apart from an hour ago, each as `make` sets it.
  static std::chrono::system_clock::time_point Fill(
      Started& s, int n, const std::function<void(int, Reading&)>& make) {
    const auto t0 = std::chrono::system_clock::now() - std::chrono::hours(1);
    for (int i = 0; i < n; ++i) {
      Reading r;
      r.timestamp = t0 + std::chrono::seconds(i);
      make(i, r);
      s.window->history().Append(r);
    }
    return t0;
  }
  // Where `second` after t0 lies across the plot area.
  static double XAt(HistoryWindow& c, std::chrono::system_clock::time_point t0, int second) {
    const QRectF area = c.chartView()->chart()->plotArea();
    const qint64 ms =
        (t0 + std::chrono::seconds(second)).time_since_epoch() / std::chrono::milliseconds(1);
    return area.left() + double(ms - AxisFrom(c)) * area.width() / double(AxisTo(c) - AxisFrom(c));
  }
  static void Show(HistoryWindow& c) {
    c.resize(900, 420);
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
  }

 private slots:
  // Ten minutes of polls a second apart: a minute without an answer, then
  // a minute without lock. Each shows as its own shade where it happened,
  // and nothing is shaded elsewhere.
  void dropoutsArePaintedWhereTheyHappened() {
    Started s = Start();
    const auto t0 = Fill(s, 600, [](int i, Reading& r) {
      r.answering = i < 200 || i >= 260;
      r.locks[Reading::MasterLock] = i >= 400 && i < 460 ? 0 : 1;
      r.snr = r.answering ? 10 : 0;
    });
    HistoryWindow& c = s.chart();
    Show(c);
    // Also once the window grew taller: the shades fill the new height.
    for (int height : {420, 620}) {
      c.resize(900, height);
      QApplication::processEvents();
      const QImage image = c.chartView()->grab().toImage();
      const QRectF area = c.chartView()->chart()->plotArea();
      // Above and below the line (10 dB of 40), away from the grid's lines.
      for (double down : {0.2, 0.9}) {
        auto colourAt = [&](int second) {
          return image.pixelColor(int(XAt(c, t0, second)), int(area.top() + area.height() * down));
        };
        const QString where = QString("height %1, %2 down").arg(height).arg(down);
        const QColor background = colourAt(100);
        QCOMPARE(background, colourAt(320));
        QCOMPARE(background, colourAt(550));
        const QColor silent = colourAt(230), unlocked = colourAt(430);
        QVERIFY2(silent != background && silent.red() == silent.green() && silent.red() < 230,
                 qPrintable(where + " " + silent.name()));
        QVERIFY2(unlocked.red() > unlocked.green() + 30, qPrintable(where + " " + unlocked.name()));
      }
    }
  }

  // Events are marked where they happened; those of one pixel column share
  // a mark, and the pointer over it shows them all.
  void eventsAreMarkedWithTheirTextInATooltip() {
    Started s = Start();
    const auto t0 = Fill(s, 600, [](int i, Reading& r) {
      r.locks[Reading::MasterLock] = 1;
      if (i == 300)
        r.events = {{Event::Kind::AnswerRegained, r.timestamp, 1.0},
                    {Event::Kind::LockLost, r.timestamp}};
      if (i == 450) r.events = {{Event::Kind::AnswerLost, r.timestamp}};
    });
    HistoryWindow& c = s.chart();
    Show(c);
    QCOMPARE(c.plot().data().events.size(), size_t(2));
    const QRectF area = c.chartView()->chart()->plotArea();
    auto pointAt = [&](int second, int right) {
      return c.chartView()->mapFromScene(c.chartView()->chart()->mapToScene(
          QPointF(XAt(c, t0, second) + right, area.center().y())));
    };
    QCOMPARE(c.EventsAt(pointAt(300, 2)),
             QString("Demodulator answering again after 1.0 s\nLock lost"));
    QCOMPARE(c.EventsAt(pointAt(450, -2)), QString("Demodulator not answering"));
    QCOMPARE(c.EventsAt(pointAt(375, 0)), QString());
    // The mark is painted: the dashed line's colour sits on its column.
    const QImage image = c.chartView()->grab().toImage();
    bool painted = false;
    const QPoint at = pointAt(450, 0);
    for (int dx = -1; dx <= 1; ++dx)
      for (int y = int(area.top()); y < int(area.bottom()); ++y)
        painted |= image.pixelColor(at.x() + dx, y) == HistoryPlot::kEventColor;
    QVERIFY(painted);
  }
};

QTEST_MAIN(HistoryWindowTest)
#include "HistoryWindow_qtest.moc"
