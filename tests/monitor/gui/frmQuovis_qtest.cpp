// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "app/gui/Tray.h"
#include "monitor/gui/ColorBar.h"
#include "monitor/gui/frmQuovis.h"
#include "sim/SimBoard.h"
#include "support/StartedWindow.h"

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
  void showsTheFirstPollAtStartUp() {
    Started s = Start({});
    frmQuovis& w = *s.window;
    QCOMPARE(w.windowTitle(), QString("Digital Signal Quality (CX24227) [simulated]"));
    QCOMPARE(Find<QLabel>(w, "lblMode")->text(), QString("8-VSB"));
    auto* bar = Find<ColorBar>(w, "vbalProgressBar1");
    QCOMPARE(QList<int>({bar->minimum(), bar->maximum(), w.tmrPoll().interval()}),
             QList<int>({12, 30, 1000}));
    QVERIFY(bar->shownText().startsWith("SNR ") && w.tmrPoll().isActive());
    QCOMPARE(Find<QLabel>(w, "lblMasterLock")->palette().color(QPalette::WindowText),
             QColor(0, 0xC0, 0));
    // The normal layout is cut below the status panel; the debug one is not.
    QVERIFY(w.height() < Find<QWidget>(w, "frErrors")->y());
    Started d = Start({"-debug"});
    QVERIFY(d.window->height() > d.window->control("frSNR")->geometry().bottom());
  }

  // Read-only, the gate and sleep boxes stay disabled through polls and say
  // why; the title ends in the mode.
  void readOnlyDisablesTheGateAndSleepBoxes() {
    for (bool readOnly : {true, false}) {
      Started s =
          Start(readOnly ? std::vector<std::string>{"--read-only"} : std::vector<std::string>{});
      frmQuovis& w = *s.window;
      QCOMPARE(w.windowTitle().endsWith(" [read-only]"), readOnly);
      QTest::mouseClick(Find<QWidget>(w, "cmdUpdate"), Qt::LeftButton);
      QVERIFY(QMetaObject::invokeMethod(&w.tmrPoll(), "timeout"));
      for (const char* name : {"chkPassthru", "chkSleep"}) {
        auto* box = Find<QCheckBox>(w, name);
        bool ticked = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(QList<bool>({box->isEnabled(), box->isChecked() != ticked}),
                 QList<bool>({!readOnly, !readOnly}));
        QCOMPARE(box->toolTip(),
                 readOnly ? "Read-only mode: quovis writes nothing to the bus" : "");
      }
    }
  }

  // The slider, the poll box and the timer are wired (the rules are the monitor's).
  void sliderAndPollBoxDriveTheTimer() {
    Started s = Start({});
    frmQuovis& w = *s.window;
    auto* slider = Find<QSlider>(w, "Slider1");
    long before = Transactions(s);
    slider->setValue(0);
    QVERIFY(Transactions(s) > before);  // an immediate poll
    QCOMPARE(w.tmrPoll().interval(), 200);
    slider->setValue(5000);
    QVERIFY(!w.tmrPoll().isActive());
    auto* poll = Find<QCheckBox>(w, "chkPoll");
    QTest::mouseClick(poll, Qt::LeftButton, {}, QPoint(4, poll->height() / 2));
    QCOMPARE(QList<int>({slider->value(), w.tmrPoll().interval(), w.tmrPoll().isActive()}),
             QList<int>({800, 1000, 1}));
  }

  // Unfolded, the TPS panel leaves every lamp whole inside the status frame,
  // and the panel itself inside the window; a second click folds it again.
  void modeLabelUnfoldsTheTpsPanelWithEveryLampWhole() {
    for (bool debug : {false, true}) {
      Started s = Start(debug ? std::vector<std::string>{"-debug"} : std::vector<std::string>{},
                        "sim:zl10353");  // DVB-T: the first click unfolds the panel
      frmQuovis& w = *s.window;
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

  // The tray's tooltip follows the poll, cut to 63 characters; a minimised
  // window lives in the tray until clicked; without a notification area, or
  // with -notray, minimising keeps the window.
  void trayFollowsThePollAndHoldsTheMinimisedWindow() {
    Started s = Start({});
    frmQuovis& w = *s.window;
    w.show();
    Tray tray(true);
    w.SetTray(&tray);
    tray.Add(w.windowState(), &w, "Digital Signal Quality (CX24227)");
    QVERIFY(tray.active());
    w.Render();
    QVERIFY(tray.tooltip().startsWith("8-VSB / SNR ") && tray.tooltip().size() <= 63);
    tray.SetTooltip(QString(100, 'x'));
    QCOMPARE(tray.tooltip().size(), 63);
    w.showMinimized();
    QTRY_VERIFY(w.isHidden());
    tray.Clicked();
    QVERIFY(w.isVisible() && !w.isMinimized());
    tray.Remove();
    QVERIFY(!tray.active());
    tray.SetTooltip("after");
    QCOMPARE(tray.tooltip().size(), 63);  // ignored once removed

    Tray none(false);  // a desktop without a notification area
    none.Add(Qt::WindowNoState, &w, "t");
    QVERIFY(!none.active());
    Started plain = Start({"-notray"});
    plain.window->show();
    plain.window->showMinimized();
    QTest::qWait(50);
    QVERIFY(!plain.window->isHidden());
  }

  // A lock that comes and goes, polled ten seconds apart while the window
  // is hidden, shown, hidden again and with notifications silenced.
  void trayTellsEventsOnlyWhileTheWindowIsOutOfSight() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("flap.json").toStdString();
    std::ofstream(path) << R"({"devices": [{"chip": "s5h1409",)"
                           R"( "fault": {"unlocked_polls": [[2, 2], [4, 4], [6, 6], [10, 10]]}}]})";
    std::unique_ptr<Session> session = StartSession({"--bus=sim:" + path});
    frmQuovis w(session->monitor());
    Tray tray(true);
    w.SetTray(&tray);
    tray.Add(w.windowState(), &w, "t");
    int poll = 0;
    const auto start = std::chrono::system_clock::time_point(std::chrono::seconds(1800000000));
    session->monitor().clock = [&] { return start + std::chrono::seconds(10 * (poll - 1)); };
    auto pollUntil = [&](int last) {
      while (poll < last) {
        ++poll;
        session->monitor().Poll();
      }
    };
    pollUntil(2);  // hidden: the lock lost is told
    QCOMPARE(tray.noticesShown(), 1);
    QCOMPARE(tray.lastNotice()->title, std::string("Lock lost"));
    w.show();
    pollUntil(3);  // in sight: not told, then or later
    w.hide();
    pollUntil(8);  // a minute after the first: the four events since poll 4
    QCOMPARE(tray.noticesShown(), 2);
    QCOMPARE(tray.lastNotice()->count, 4);
    tray.notifyBox()->trigger();
    QVERIFY(!tray.notifyBox()->isChecked());
    pollUntil(10);  // silenced: the lock lost at poll 10 is forgotten
    tray.notifyBox()->trigger();
    pollUntil(14);  // a minute after the last: only the regained lock of poll 11
    QCOMPARE(tray.noticesShown(), 3);
    QCOMPARE(tray.lastNotice()->count, 1);
    QCOMPARE(tray.lastNotice()->title, std::string("Lock regained after 10.0 s"));
  }
};

QTEST_MAIN(frmQuovisTest)
#include "frmQuovis_qtest.moc"
