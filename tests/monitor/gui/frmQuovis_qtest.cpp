// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include "monitor/gui/ColorBar.h"
#include "monitor/gui/Tray.h"
#include "monitor/gui/frmQuovis.h"
#include "sim/SimBoard.h"
#include "support/StartedWindow.h"
#include "support/Widgets.h"

// The monitor window on simulated boards (the S5H1409 unless a test names
// another), without a display.
class frmQuovisTest : public QObject {
  Q_OBJECT

  using Started = StartedWindow;

  static Started Start(std::vector<std::string> args, const std::string& bus = "sim:s5h1409") {
    args.push_back("--bus=" + bus);
    return StartWindow(args);
  }

  template <typename T>
  static T* Find(frmQuovis& w, const char* name) {
    T* widget = dynamic_cast<T*>(w.control(name));
    if (!widget) qFatal("no control %s", name);
    return widget;
  }

  static long Transactions(Started& s) { return s.session->backend().simBoard->transactions(); }

 private slots:
  // The first poll shows at start-up, polling on; the normal layout is cut
  // below the status panel, the debug one is not. Unfolded, the TPS panel
  // leaves every lamp whole inside the status frame, and the panel itself
  // inside the window; a second click folds it again. The Align, Board… and
  // History buttons stand clear of every control.
  void firstPollAndTpsPanelWithEveryLampWhole() {
    for (bool debug : {false, true}) {
      Started s = Start(debug ? std::vector<std::string>{"-debug"} : std::vector<std::string>{},
                        "sim:zl10353");  // DVB-T: the first click unfolds the panel
      frmQuovis& w = *s.window;
      auto* bar = Find<ColorBar>(w, "vbalProgressBar1");
      QCOMPARE(QStringList({w.windowTitle(), Find<QLabel>(w, "lblMode")->text(),
                            bar->shownText().section(' ', 0, 0), QString::number(bar->maximum()),
                            QString::number(w.tmrPoll().interval())}),
               QStringList(
                   {"Digital Signal Quality (ZL10353) [simulated]", "QAM64", "SNR", "25", "1000"}));
      QCOMPARE(Find<QLabel>(w, "lblMasterLock")->palette().color(QPalette::WindowText),
               QColor(0, 0xC0, 0));
      QVERIFY(w.tmrPoll().isActive());
      QVERIFY(debug ? w.height() > w.control("frSNR")->geometry().bottom()
                    : w.height() < Find<QWidget>(w, "frErrors")->y());
      w.show();
      auto* lock = Find<QGroupBox>(w, "frLock");
      auto* tps = Find<QGroupBox>(w, "frTPS");
      QVERIFY(tps->isHidden());
      QSize first = w.size();
      QTest::mouseClick(Find<QLabel>(w, "lblMode"), Qt::LeftButton);
      QVERIFY(tps->isVisible() && w.rect().contains(tps->geometry()));
      QVERIFY(tps->y() >= lock->geometry().bottom());
      for (const char* name :
           {"lblMode", "lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"}) {
        auto* lamp = Find<QLabel>(w, name);
        QVERIFY2(
            lamp->isVisible() && lock->contentsRect().contains(lamp->geometry()) &&
                lamp->fontMetrics().horizontalAdvance(lamp->text()) <= lamp->contentsRect().width(),
            name);
      }
      QTest::mouseClick(Find<QLabel>(w, "lblMode"), Qt::LeftButton);
      QVERIFY(tps->isHidden());
      QCOMPARE(w.size(), first);
      for (const char* name : {"cmdAlign", "cmdBoard", "cmdHistory"})
        QVERIFY2(Overlaps(w, *w.control(name)).isEmpty(),
                 qPrintable(Overlaps(w, *w.control(name))));
    }
  }

  // Drawing the chip's gate and sleep state writes nothing; a click does.
  void redrawWithGateOpenOrAsleepWritesNothing() {
    for (int reg : {0xF3, 0xF2}) {  // the gate bit, then the sleep bit
      Started s = Start({});
      frmQuovis& w = *s.window;
      SimBoard& board = *s.session->backend().simBoard;
      std::string why;
      QVERIFY(board.DeviceAt(0x32)->SetRegister(reg, 1, why));
      long written = board.bytesWritten(), transactions = Transactions(s);
      QTest::mouseClick(Find<QWidget>(w, "cmdUpdate"), Qt::LeftButton);
      w.Render();
      auto* box = Find<QCheckBox>(w, reg == 0xF3 ? "chkPassthru" : "chkSleep");
      QVERIFY(box->isChecked());
      // Each of the poll's reads sends its one-byte register address alone.
      QCOMPARE(board.bytesWritten() - written, Transactions(s) - transactions);
      QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
      QCOMPARE(board.DeviceAt(0x32)->GetRegister(reg), 0L);
    }
  }
};

QTEST_MAIN(frmQuovisTest)
#include "frmQuovis_qtest.moc"
