// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>

#include "monitor/gui/HistoryWindow.h"
#include "support/StartedWindow.h"

// The history chart of the monitor window on a simulated S5H1409.
class HistoryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Ten minutes of polls a second apart: a minute without an answer, then
  // a minute without lock. Each shows as its own shade where it happened,
  // and nothing is shaded elsewhere, also once the window grew taller.
  void dropoutsArePaintedWhereTheyHappened() {
    std::unique_ptr<Session> session = StartSession({"--bus=sim:s5h1409"});
    frmQuovis window(session->monitor());
    const auto t0 = std::chrono::system_clock::now() - std::chrono::hours(1);
    for (int i = 0; i < 600; ++i) {
      Reading r;
      r.timestamp = t0 + std::chrono::seconds(i);
      r.answering = i < 200 || i >= 260;
      r.locks[Reading::MasterLock] = i >= 400 && i < 460 ? 0 : 1;
      r.snr = r.answering ? 10 : 0;
      window.history().Append(r);
    }
    HistoryWindow& c = *window.historyWindow();
    c.resize(900, 420);
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    for (int height : {420, 620}) {
      c.resize(900, height);
      QApplication::processEvents();
      const QImage image = c.chartView()->grab().toImage();
      const QRectF area = c.chartView()->chart()->plotArea();
      const qint64 from = c.timeAxis()->min().toMSecsSinceEpoch();
      const qint64 to = c.timeAxis()->max().toMSecsSinceEpoch();
      // Above and below the line (10 dB of 40), away from the grid's lines.
      for (double down : {0.2, 0.9}) {
        auto colourAt = [&](int second) {
          const qint64 ms =
              (t0 + std::chrono::seconds(second)).time_since_epoch() / std::chrono::milliseconds(1);
          return image.pixelColor(
              int(area.left() + double(ms - from) * area.width() / double(to - from)),
              int(area.top() + area.height() * down));
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
};

QTEST_MAIN(HistoryWindowTest)
#include "HistoryWindow_qtest.moc"
