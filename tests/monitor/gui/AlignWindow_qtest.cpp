// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <cmath>

#include "monitor/gui/AlignWindow.h"
#include "monitor/gui/frmQuovis.h"
#include "support/StartedWindow.h"

// The alignment window of the monitor window over a simulated S5H1409
// (8-VSB, locked), on a machine without a sound device.
class AlignWindowTest : public QObject {
  Q_OBJECT

  static QString Text(QWidget& w, const char* name) {
    auto* label = w.findChild<QLabel*>(name);
    if (!label) qFatal("no %s", name);
    return label->text();
  }

 private slots:
  // Shown, it polls every 200 ms and shows what the last poll read: SNR, peak, margin over 15 dB
  // and the tone's pitch, 440 Hz * 2^(margin / 12). Hidden, it stops polling.
  void showsEachPollsFiguresEvery200Ms() {
    StartedWindow s = StartWindow({"--bus=sim:s5h1409"});
    s.window->tmrPoll().stop();  // only the alignment window polls here
    AlignWindow& a = *s.window->alignWindow();
    a.SetOutputFinder([] { return QAudioDevice(); });
    Monitor& monitor = s.session->monitor();
    int polls = 0;
    float best = 0;
    monitor.AddPollObserver([&](const Reading& r) {
      ++polls;
      best = std::max(best, r.snr);
    });
    a.show();
    QVERIFY(a.tmrAlign().isActive());
    QCOMPARE(a.tmrAlign().interval(), 200);
    QTRY_VERIFY_WITH_TIMEOUT(polls >= 2, 2000);

    monitor.Poll();
    const float snr = monitor.lastReading().snr;
    QCOMPARE(
        QStringList({Text(a, "lblAlignSnr"), Text(a, "lblAlignMargin"), Text(a, "lblAlignTone"),
                     Text(a, "lblAlignPeak"), Text(a, "lblAlignSound")}),
        QStringList({QString::number(snr, 'f', 1) + " dB",
                     "Margin +" + QString::number(snr - 15, 'f', 1) + " dB over 15.0 dB",
                     QString("Tone %1 Hz").arg(std::lround(440 * std::exp2((snr - 15) / 12.0))),
                     "Peak " + QString::number(best, 'f', 1) + " dB",
                     "No sound device: the tone cannot play"}));
    QVERIFY(!a.findChild<QCheckBox*>("chkMute")->isEnabled());

    a.hide();
    QVERIFY(!a.tmrAlign().isActive());
  }
};

QTEST_MAIN(AlignWindowTest)
#include "AlignWindow_qtest.moc"
