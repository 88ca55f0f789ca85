// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "console/gui/ConsolePanel.h"
#include "monitor/gui/frmQuovis.h"
#include "support/StartedBoard.h"
#include "support/Widgets.h"
#include "tuner/gui/frmNXP.h"

// Both windows in read-only mode, the console shown, over a recording bus
// that would let every write through: the user works every control and not
// one write reaches the bus, while the monitor and the console still read.
class ReadOnlyModeTest : public QObject {
  Q_OBJECT

  std::unique_ptr<StartedBoard> s;
  std::unique_ptr<frmQuovis> window;
  std::unique_ptr<frmNXP> tuner;

  template <typename W>
  W* monitorControl(const char* name) {
    W* w = dynamic_cast<W*>(window->control(name));
    if (!w) qFatal("no control %s", name);
    return w;
  }
  template <typename W>
  static W* child(QWidget* parent, const QString& name) {
    return Child<W>(parent, name);
  }
  void enter(const char* box, const QString& text) {
    Enter(child<QLineEdit>(window.get(), box), text);
  }
  // A click by mouse, and the box's click signal as if the box were enabled.
  static void clickAnyway(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    emit button->clicked(!button->isChecked());
  }
  QStringList log() { return Lines(child<QListWidget>(window.get(), "lstLog")); }

 private slots:
  void init() {
    CommandLine cl = ParseCommandLine({"--bus=sim:s5h1409", "-debug", "-tda", "--read-only"});
    s = std::make_unique<StartedBoard>("s5h1409", cl);
    QVERIFY(s->startup.ok);
    window = std::make_unique<frmQuovis>(*s->monitor);
    window->HostConsole(new ConsolePanel(*s->bus, window.get(), cl.readOnly));
    window->show();
    tuner = std::make_unique<frmNXP>(*s->bus, nullptr, cl.readOnly);
    tuner->show();
    s->monitor->PollIntervalChange();
    window->Render();
  }
  void cleanup() {
    tuner.reset();
    window.reset();
  }

  void everyActionOfBothWindowsWritesNothing() {
    QCOMPARE(window->windowTitle(),
             QString("Digital Signal Quality (CX24227) [simulated] [read-only]"));
    // Start-up, the first poll and the tuner editor's load wrote nothing either.
    QCOMPARE(s->rec->Writes().size(), size_t(0));
    std::string error;
    QVERIFY2(s->board->DeviceAt(0x32)->SetRegister(0x2B, 0x1234, error), error.c_str());
    s->rec->calls.clear();

    // The monitor: its boxes, Update, the slider, Poll, the mode label and timer ticks.
    clickAnyway(monitorControl<QCheckBox>("chkPassthru"));
    clickAnyway(monitorControl<QCheckBox>("chkSleep"));
    QTest::mouseClick(monitorControl<QPushButton>("cmdUpdate"), Qt::LeftButton);
    monitorControl<QSlider>("Slider1")->setValue(0);
    monitorControl<QSlider>("Slider1")->setValue(4800);
    clickAnyway(monitorControl<QCheckBox>("chkPoll"));
    QTest::mouseClick(monitorControl<QLabel>("lblMode"), Qt::LeftButton);
    QTest::mouseClick(monitorControl<QLabel>("lblMode"), Qt::LeftButton);
    QVERIFY(QMetaObject::invokeMethod(&window->tmrPoll(), "timeout"));

    // The console: Read, Read N/S, Write, Write N/S, Scan, Clear.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    enter("txtAddress", "32");
    enter("txtSubAddr", "2B");
    enter("txtData", "1 2");
    enter("txtReadCount", "2");
    for (const char* button : {"cmdRead", "cmdReadNS", "cmdWrite", "cmdWriteNS", "cmdScan"})
      QTest::mouseClick(child<QPushButton>(window.get(), button), Qt::LeftButton);
    QStringList lines = log();
    QVERIFY2(lines.contains("Read  32 ( 2B ) 12 34 Returned 0"), qPrintable(lines.join('|')));
    QVERIFY(lines.contains("Write refused: read-only mode, nothing sent to the bus"));
    QVERIFY(lines.contains("Write N/S refused: read-only mode, nothing sent to the bus"));
    QVERIFY(lines.contains("Scan Read 32 0"));
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdClear"), Qt::LeftButton);

    // The tuner editor: every button, box and tick.
    tuner->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(tuner.get()));
    for (const char* name :
         {"chkPassthru", "BuThermometer", "BuReadPwrLvl", "BuRefresh", "chkPollThermo",
          "chkPollPwrLvl", "chkPollSnap1", "chkPoll", "BuWrite", "BuRegReset", "BuSnapshot",
          "BuSnapRegs(0)", "BuSnapRegs(1)", "Check00(3)"})
      clickAnyway(child<QAbstractButton>(tuner.get(), name));
    auto* value = child<QLineEdit>(tuner.get(), "RegVal(17)");
    QTest::mouseClick(value, Qt::LeftButton);
    QTest::keyClicks(value, "55");
    QTest::keyClicks(child<QLineEdit>(tuner.get(), "TextReg"), "A5");
    QTest::keyClicks(child<QComboBox>(tuner.get(), "ComboReg")->lineEdit(), "02");
    QVERIFY(QMetaObject::invokeMethod(child<QTimer>(tuner.get(), "tmrPoll"), "timeout"));

    QCOMPARE(s->rec->Writes().size(), size_t(0));
    // The monitor still read the chip.
    QCOMPARE(monitorControl<QLabel>("lblMode")->text(), QString("8-VSB"));
    QVERIFY(s->monitor->model.answering);
    long reads = 0;
    for (const auto& call : s->rec->calls) reads += call.kind != RecordingLibrary::Call::Write;
    QVERIFY(reads > 127);  // the polls, the console's reads and its scan
  }
};

QTEST_MAIN(ReadOnlyModeTest)
#include "ReadOnlyMode_qtest.moc"
