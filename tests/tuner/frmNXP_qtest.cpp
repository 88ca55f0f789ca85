#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "bus/Bus.h"
#include "monitor/gui/Twips.h"
#include "sim/SimRegistry.h"
#include "tuner/gui/frmNXP.h"

// The window on a built-in board (TDA8290 gate, TDA18271c2 behind it), the
// board's clock stopped so that its readings hold still.
class frmNXPTest : public QObject {
  Q_OBJECT

  std::unique_ptr<SimBoard> board;
  std::unique_ptr<Bus> bus;
  std::unique_ptr<frmNXP> window;

  template <typename W>
  W* get(const QString& name) {
    W* widget = window->findChild<W*>(name);
    if (!widget) qFatal("no control %s", qPrintable(name));
    return widget;
  }
  QLabel* label(int i) { return get<QLabel>(QString("RegLabel(%1)").arg(i)); }
  QLineEdit* value(int i) { return get<QLineEdit>(QString("RegVal(%1)").arg(i)); }
  bool yellow(int i) { return label(i)->palette().color(QPalette::Window) == QColor(255, 255, 0); }
  void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
  }
  long chip(int address, int r) { return board->DeviceAt(address)->GetRegister(r); }

 private slots:
  void init() {
    std::string error;
    board = MakeBuiltInBoard("s5h1409", error);
    QVERIFY2(board, error.c_str());
    board->SetClock([] { return 0.0; });
    bus = std::make_unique<Bus>(*board);
    bus->handle = board->velI2C_InitByType(24, 0);
    window = std::make_unique<frmNXP>(*bus);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }
  void cleanup() { window.reset(); }

  void loadShowsTheChipsAndClosesTheGate() {
    QCOMPARE(window->windowTitle(), QString("TDA8290 @ 0x84 / TDA18271c2 @ 0xC0"));
    QCOMPARE(get<QGroupBox>("FrameTDA829x")->title(), QString("TDA8290 @ 0x84"));
    QVERIFY(get<QGroupBox>("FrameTDA829x")->isVisible());
    QVERIFY(!get<QCheckBox>("chkPassthru")->isChecked());
    QCOMPARE(chip(0x84, 0x21), 0x00L);
    QCOMPARE(value(0x02)->text(), QString("CC"));
    QCOMPARE(value(0x26)->text(), QString("90"));
    QCOMPARE(label(0x1A)->text(), QString("1A EB11"));
    QCOMPARE(label(0x11)->geometry().topLeft(),
             TwipRect(120 + 2 * 1440, 240 + 300, 1, 1).topLeft());
    QVERIFY(!get<QLabel>("LaAGC1gain")->isVisible());
    QCOMPARE(get<QPushButton>("BuThermometer")->text(), QString("     read thermo"));
    QCOMPARE(get<QPushButton>("BuSnapRegs(1)")->text(), QString("      snap"));
    QCOMPARE(window->width(), Twips(8040));
  }

  void clickingAValueBoxSelectsItAndTheDetailBoxEditsIt() {
    QTest::mouseClick(value(0x11), Qt::LeftButton);
    QCOMPARE(get<QComboBox>("ComboReg")->currentText(), QString("11"));
    QCOMPARE(get<QLineEdit>("TextReg")->text(), QString("03"));
    QCOMPARE(get<QGroupBox>("RegisterFrame00")->title(), QString("Reg 0x11 EB2"));
    QVERIFY(get<QCheckBox>("Check00(0)")->isChecked());
    QVERIFY(get<QCheckBox>("Check00(1)")->isChecked());
    QVERIFY(!get<QCheckBox>("Check00(2)")->isChecked());

    type(get<QLineEdit>("TextReg"), "A5");
    for (int k = 0; k < 8; ++k)
      QCOMPARE(get<QCheckBox>(QString("Check00(%1)").arg(k))->isChecked(), bool(0xA5 >> k & 1));
    QCOMPARE(value(0x11)->text(), QString("A5"));
    QVERIFY(yellow(0x11));
    QVERIFY(!yellow(0x10));
    get<QCheckBox>("Check00(7)")->click();  // clear bit 7: 25
    QCOMPARE(get<QLineEdit>("TextReg")->text(), QString("25"));
    QCOMPARE(value(0x11)->text(), QString("25"));
    get<QPushButton>("BuRegReset")->click();
    QCOMPARE(value(0x11)->text(), QString("03"));
    QVERIFY(!yellow(0x11));
    QCOMPARE(chip(0xC0, 0x11), 0x03L);  // nothing was written
  }

  void writeAllMarksWhatReadsBackDifferently() {
    get<QCheckBox>("chkPassthru")->click();
    QCOMPARE(chip(0x84, 0x21), 0xC0L);
    type(value(0x02), "00");  // power level: read-only
    type(value(0x11), "55");
    type(value(0x12), "FF1");  // above FF: refused, the box keeps FF
    QCOMPARE(value(0x12)->text(), QString("FF"));
    get<QPushButton>("BuWrite")->click();
    QCOMPARE(chip(0xC0, 0x11), 0x55L);
    QCOMPARE(chip(0xC0, 0x12), 0xFFL);
    QCOMPARE(value(0x02)->text(), QString("00"));
    QVERIFY(yellow(0x02));
    QVERIFY(!yellow(0x11));
    QVERIFY(!yellow(0x12));
  }

  void pollWithPowerTickedDisablesItsButton() {
    get<QCheckBox>("chkPassthru")->click();
    get<QCheckBox>("chkPollPwrLvl")->click();
    get<QCheckBox>("chkPollThermo")->click();
    get<QCheckBox>("chkPoll")->click();
    QVERIFY(!get<QPushButton>("BuReadPwrLvl")->isEnabled());
    QVERIFY(!get<QPushButton>("BuThermometer")->isEnabled());
    QVERIFY(!get<QPushButton>("BuRefresh")->isEnabled());
    QVERIFY(get<QPushButton>("BuSnapRegs(1)")->isEnabled());
    auto* timer = window->findChild<QTimer*>("tmrPoll");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    QTRY_VERIFY_WITH_TIMEOUT(get<QLabel>("LaAGC1gain")->isVisible(), 3000);
    QCOMPARE(get<QLabel>("LaAGC1gain")->text(), QString("agc1 gain: 12 dB"));
    QCOMPARE(get<QLabel>("LaAGC2gain")->text(), QString("agc2 gain: 12 dB"));
    QCOMPARE(get<QLabel>("LaRFAGCgain")->text(), QString("rfagc gain: 3 dBuv_RMS"));
    QCOMPARE(get<QLabel>("LaThermo")->text(), QString::fromUtf8("66\u00B0C"));
    QCOMPARE(chip(0xC0, 0x03) & 0x40, 0x40L);  // measurement disabled again
    QCOMPARE(chip(0xC0, 0x01) & 0x10, 0x00L);  // thermometer off again
    get<QCheckBox>("chkPoll")->click();
    QVERIFY(!timer->isActive());
    QVERIFY(get<QPushButton>("BuRefresh")->isEnabled());
    QVERIFY(get<QPushButton>("BuReadPwrLvl")->isEnabled());
    QVERIFY(get<QPushButton>("BuThermometer")->isEnabled());
  }

  void dumpTwiceWidensAndNarrows() {
    auto* dump = get<QPushButton>("BuSnapshot");
    dump->click();
    QCOMPARE(window->width(), Twips(12015));
    QCOMPARE(dump->text(), QString("HIDE"));
    dump->click();
    QCOMPARE(window->width(), Twips(8040));
    QCOMPARE(dump->text(), QString("DUMP"));
  }

  void snapshotsShowTheRegistersThatMoved() {
    get<QPushButton>("BuSnapshot")->click();
    get<QCheckBox>("chkPassthru")->click();
    auto* pane0 = get<QListWidget>("ListRegs(0)");
    auto* diff = get<QListWidget>("ListRegsDiff");
    QVERIFY(!pane0->isVisible());
    get<QPushButton>("BuSnapRegs(0)")->click();
    QVERIFY(pane0->isVisible());
    QCOMPARE(pane0->count(), 39);
    QCOMPARE(pane0->item(7)->text(), QString("07 20"));
    QVERIFY(!diff->isVisible());
    get<QPushButton>("BuSnapRegs(1)")->click();  // the same registers
    QCOMPARE(diff->count(), 39);
    QVERIFY(!diff->isVisible());

    type(value(0x11), "55");
    get<QPushButton>("BuWrite")->click();
    get<QCheckBox>("chkPollSnap1")->click();
    get<QPushButton>("BuRefresh")->click();
    QVERIFY(diff->isVisible());
    QCOMPARE(diff->item(0x11)->text(), QString("03 --> 55"));
    QCOMPARE(diff->item(0x10)->text(), QString(""));

    QTest::mouseClick(diff->viewport(), Qt::LeftButton, {},
                      diff->visualItemRect(diff->item(0x11)).center());
    QCOMPARE(get<QComboBox>("ComboReg")->currentText(), QString("11"));
    QCOMPARE(get<QLabel>("LaListRegsBinarySelected(0)")->text(), QString("00000011"));
    QCOMPARE(get<QLabel>("LaListRegsBinarySelected(1)")->text(), QString("01010101"));
    QVERIFY(get<QLabel>("LaSnapshotArrow(0)")->isVisible());
    QCOMPARE(pane0->currentRow(), 0x11);

    get<QCheckBox>("chkPoll")->click();  // the poll now takes the second snapshot
    QVERIFY(!get<QPushButton>("BuSnapRegs(1)")->isEnabled());
    get<QCheckBox>("chkPoll")->click();
  }
};

QTEST_MAIN(frmNXPTest)
#include "frmNXP_qtest.moc"
