// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "bus/Bus.h"
#include "monitor/gui/Twips.h"
#include "sim/BoardFile.h"
#include "sim/SimRegistry.h"
#include "support/RecordingLibrary.h"
#include "support/Widgets.h"
#include "tuner/PlacedFake.h"
#include "tuner/gui/frmNXP.h"

// Whether a caption is drawn whole in its control: the text's width within
// the room the control leaves for it.
static bool Fits(QWidget* w) {
  QFontMetrics metrics = w->fontMetrics();
  if (auto* label = qobject_cast<QLabel*>(w))
    return metrics.horizontalAdvance(label->text()) <= label->contentsRect().width();
  if (auto* box = qobject_cast<QCheckBox*>(w)) return box->sizeHint().width() <= box->width();
  if (auto* button = qobject_cast<QPushButton*>(w)) {
    int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    return metrics.horizontalAdvance(button->text()) + 2 * frame + 2 <= button->width();
  }
  return true;
}

// The window, by default on a built-in board (TDA8290 gate, TDA18271c2
// behind it) whose clock stands at `now` so that its readings hold still.
class frmNXPTest : public QObject {
  Q_OBJECT

  double now = 0;
  std::unique_ptr<SimBoard> board;
  std::unique_ptr<RecordingLibrary> rec;
  std::unique_ptr<PlacedFake> placed;
  std::unique_ptr<Bus> bus;
  std::unique_ptr<frmNXP> window;
  bool readOnly = false;

  void open(std::unique_ptr<SimBoard> b) {
    window.reset();
    board = std::move(b);
    QVERIFY(board);
    board->SetClock([this] { return now; });
    rec = std::make_unique<RecordingLibrary>(*board);
    bus = std::make_unique<Bus>(*rec);
    bus->handle = rec->velI2C_InitByType(24, 0);
    show();
  }
  // A tuner alone at 0xC0 whose every read hands back this image.
  void openOnImage(const tda18271::Image& image) {
    window.reset();
    placed = std::make_unique<PlacedFake>();
    placed->images[0xC0] = {image};
    bus = std::make_unique<Bus>(*placed);
    show();
  }
  void show() {
    window = std::make_unique<frmNXP>(*bus, nullptr, readOnly);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }
  template <typename W>
  W* get(const QString& name) {
    return Child<W>(window.get(), name);
  }
  QLabel* label(int i) { return get<QLabel>(QString("RegLabel(%1)").arg(i)); }
  QLineEdit* value(int i) { return get<QLineEdit>(QString("RegVal(%1)").arg(i)); }
  QString text(const QString& name) { return get<QLabel>(name)->text(); }
  void click(const char* button) { get<QAbstractButton>(button)->click(); }
  bool yellow(int i) { return label(i)->palette().color(QPalette::Window) == QColor(255, 255, 0); }
  QList<int> yellows() {
    QList<int> marked;
    for (int i = 0; i < 39; ++i)
      if (yellow(i)) marked << i;
    return marked;
  }
  void type(QLineEdit* box, const QString& text, bool replace = true) {
    box->setFocus();
    if (replace) box->selectAll();
    QTest::keyClicks(box, text);
  }
  void clickIn(QWidget* box) { QTest::mouseClick(box, Qt::LeftButton); }
  long chip(int address, int r) { return board->DeviceAt(address)->GetRegister(r); }

 private slots:
  void init() {
    std::string error;
    now = 0;
    readOnly = false;
    open(MakeBuiltInBoard("s5h1409", error));
  }
  void cleanup() { window.reset(); }

  void loadShowsTheChipsAndClosesTheGate() {
    QCOMPARE(chip(0x84, 0x21), 0x00L);
    QVERIFY(!get<QCheckBox>("chkPassthru")->isChecked());
    QCOMPARE(value(0x26)->text(), QString("90"));
    QCOMPARE(label(0x1A)->text(), QString("1A EB11"));
    QCOMPARE(label(0x11)->geometry().topLeft(),
             TwipRect(120 + 2 * 1440, 240 + 300, 1, 1).topLeft());
    QVERIFY(!get<QLabel>("LaAGC1gain")->isVisible());
    QCOMPARE(get<QPushButton>("BuThermometer")->text(), QString("     read thermo"));
    QCOMPARE(get<QPushButton>("BuSnapRegs(1)")->text(), QString("      snap"));
    QCOMPARE(get<QPushButton>("BuSnapshot")->text(), QString("DUMP"));
    QCOMPARE(window->width(), Twips(8040));
    QVERIFY(yellows().isEmpty());
    QCOMPARE(get<QLineEdit>("TextReg")->text(),
             QString("84"));  // register 0 while the combo is empty
  }

  // Each step leaves the register selection, its value box and the bit boxes as listed.
  void selectingEditingAndMarking() {
    QLineEdit* detail = get<QLineEdit>("TextReg");
    QComboBox* combo = get<QComboBox>("ComboReg");
    QLineEdit* comboText = combo->lineEdit();
    struct Step {
      std::function<void()> act;
      const char *combo, *detail, *frame;
      int reg;
      const char* value;
      bool yellow;
      uint8_t bits;
    } steps[] = {
        {[&] { clickIn(value(0x11)); }, "11", "03", "Reg 0x11 EB2", 0x11, "03", false, 0x03},
        {[&] { type(detail, "A5"); }, "11", "A5", "Reg 0x11 EB2", 0x11, "A5", true, 0xA5},
        {[&] { type(detail, "F", false); }, "11", "A5", "Reg 0x11 EB2", 0x11, "A5", true, 0xA5},
        {[&] { click("Check00(7)"); }, "11", "25", "Reg 0x11 EB2", 0x11, "25", true, 0x25},
        {[&] { click("BuRegReset"); }, "11", "03", "Reg 0x11 EB2", 0x11, "03", false, 0x03},
        // "2" chooses register 2; "27" names no register and keeps it.
        {[&] { type(comboText, "27"); }, "27", "CC", "Reg 0x02 PL", 0x02, "CC", false, 0xCC},
        {[&] { QTest::keyClick(combo, Qt::Key_Tab); }, "02", "CC", "Reg 0x02 PL", 2, "CC", 0, 0xCC},
        // The value boxes compare as text: "5a" differs from the image's 5A.
        {[&] { type(value(0x04), "5a"); }, "04", "5A", "Reg 0x04 EP2", 0x04, "5a", true, 0x5A},
        {[&] { type(value(0x04), "0", false); }, "04", "5A", "Reg 0x04 EP2", 4, "5a", true, 0x5A},
        {[&] { combo->setFocus(); }, "04", "5A", "Reg 0x04 EP2", 0x04, "5A", false, 0x5A},
        {[&] { type(detail, "f"); }, "04", "f", "Reg 0x04 EP2", 0x04, "0F", true, 0x0F},
        {[&] { value(0x26)->setFocus(); }, "26", "90", "Reg 0x26 EB23", 0x26, "90", false, 0x90},
    };
    for (const auto& s : steps) {
      s.act();
      QCOMPARE(combo->currentText(), QString(s.combo));
      QCOMPARE(detail->text(), QString(s.detail));
      QCOMPARE(get<QGroupBox>("RegisterFrame00")->title(), QString(s.frame));
      QCOMPARE(value(s.reg)->text(), QString(s.value));
      QCOMPARE(yellow(s.reg), s.yellow);
      for (int k = 0; k < 8; ++k)
        QCOMPARE(get<QCheckBox>(QString("Check00(%1)").arg(k))->isChecked(), bool(s.bits >> k & 1));
    }
    QCOMPARE(value(0x04)->text(), QString("0F"));  // an edit elsewhere stays in its box
    QCOMPARE(chip(0xC0, 0x11), 0x03L);             // nothing was written
  }

  // Read-only and self-clearing places read back differently from what was written.
  void writeAllMarksWhatReadsBackDifferently() {
    click("chkPassthru");
    QCOMPARE(chip(0x84, 0x21), 0xC0L);
    type(value(0x00), "00");  // identity
    type(value(0x01), "A5");  // thermometer off: the last code stays
    type(value(0x02), "00");  // power level
    type(value(0x05), "92");  // calibration start clears itself
    type(value(0x11), "55");
    type(value(0x12), "FF1");  // above FF: refused, the box keeps FF
    QCOMPARE(value(0x12)->text(), QString("FF"));
    long before = board->transactions();
    click("BuWrite");
    QCOMPARE(board->transactions() - before, 2L);  // the write and one read-back
    QCOMPARE(chip(0xC0, 0x11), 0x55L);
    QCOMPARE(chip(0xC0, 0x12), 0xFFL);
    QCOMPARE(yellows(), QList<int>({0, 1, 2, 5}));
    QCOMPARE(value(0x05)->text(), QString("92"));
    click("BuRefresh");  // the boxes follow the chip again
    QStringList shown;
    for (int i : {0, 1, 2, 5}) shown << value(i)->text();
    QCOMPARE(shown, QStringList({"84", "A2", "CC", "12"}));
    QVERIFY(yellows().isEmpty());
  }

  // The rules are the editor's; these rows tell each button's wiring apart.
  void pollDisablesTheButtonsWhoseWorkItDoes() {
    struct Case {
      bool poll, power, thermo, snap1;
      bool refresh, powerButton, thermoButton, snap1Button;
    } cases[] = {
        {true, true, false, false, false, false, true, true},
        {true, false, true, true, false, true, false, false},
        {false, false, false, false, true, true, true, true},
    };
    auto* timer = window->findChild<QTimer*>("tmrPoll");
    for (const auto& c : cases) {
      for (auto [box, on] : {std::pair{"chkPollPwrLvl", c.power},
                             {"chkPollThermo", c.thermo},
                             {"chkPollSnap1", c.snap1},
                             {"chkPoll", c.poll}})
        if (get<QCheckBox>(box)->isChecked() != on) click(box);
      QCOMPARE(get<QPushButton>("BuRefresh")->isEnabled(), c.refresh);
      QCOMPARE(get<QPushButton>("BuReadPwrLvl")->isEnabled(), c.powerButton);
      QCOMPARE(get<QPushButton>("BuThermometer")->isEnabled(), c.thermoButton);
      QCOMPARE(get<QPushButton>("BuSnapRegs(1)")->isEnabled(), c.snap1Button);
      QCOMPARE(timer->isActive(), c.poll);
      if (c.poll) QCOMPARE(timer->interval(), 1000);
    }
  }

  // The level is measured only while measurement is enabled, which it is not by default.
  void pollReadsGainsAndTemperature() {
    click("chkPassthru");
    now = 9.0 * 3.14159265 / 2;  // measured level at its peak, 15
    click("BuRefresh");
    QCOMPARE(value(0x02)->text(), QString("CC"));
    click("chkPollPwrLvl");
    click("chkPollThermo");
    click("chkPoll");
    QTRY_VERIFY_WITH_TIMEOUT(get<QLabel>("LaAGC1gain")->isVisible(), 3000);
    click("chkPoll");
    QCOMPARE(text("LaAGC1gain"), QString("agc1 gain: 12 dB"));
    QCOMPARE(text("LaAGC2gain"), QString("agc2 gain: 12 dB"));
    QCOMPARE(text("LaRFAGCgain"), QString("rfagc gain: 6 dBuv_RMS"));
    QCOMPARE(text("LaThermo"), QString::fromUtf8("66\u00B0C"));
    QCOMPARE(chip(0xC0, 0x03) & 0x40, 0x40L);  // measurement disabled again
    QCOMPARE(chip(0xC0, 0x01) & 0x10, 0x00L);  // thermometer off again
    QCOMPARE(value(0x02)->text(), QString("CF"));
    click("chkPollPwrLvl");
    now = 0;
    click("BuRefresh");
    QCOMPARE(value(0x02)->text(), QString("CF"));  // held while disabled
  }

  // A difference list shows only when two snapshots differ, and then stays up.
  void snapshotsShowTheRegistersThatMoved() {
    auto* dump = get<QPushButton>("BuSnapshot");
    dump->click();
    QCOMPARE(window->width(), Twips(12015));
    QCOMPARE(dump->text(), QString("HIDE"));
    click("chkPassthru");
    auto* pane0 = get<QListWidget>("ListRegs(0)");
    auto* pane1 = get<QListWidget>("ListRegs(1)");
    auto* diff = get<QListWidget>("ListRegsDiff");
    auto bits = [&](int p) { return text(QString("LaListRegsBinarySelected(%1)").arg(p)); };
    QVERIFY(!pane0->isVisible());
    click("BuSnapRegs(0)");
    QVERIFY(pane0->isVisible() && !pane1->isVisible());
    QCOMPARE(pane0->count(), 39);
    QCOMPARE(pane0->item(7)->text(), QString("07 20"));
    QVERIFY(!diff->isVisible() && diff->count() == 0);
    value(0x07)->setFocus();  // only the full list follows
    QCOMPARE(pane0->currentRow(), 7);
    QCOMPARE(bits(0), QString("00100000"));
    QVERIFY(!get<QLabel>("LaListRegsBinarySelected(1)")->isVisible());
    click("BuSnapRegs(1)");  // the same registers
    QCOMPARE(diff->count(), 39);
    QVERIFY(!diff->isVisible());

    type(value(0x11), "55");
    click("BuWrite");
    click("chkPollSnap1");
    click("BuRefresh");
    QVERIFY(diff->isVisible());
    QCOMPARE(diff->item(0x11)->text(), QString("03 --> 55"));
    QCOMPARE(diff->item(0x10)->text(), QString(""));
    QTest::mouseClick(diff->viewport(), Qt::LeftButton, {},
                      diff->visualItemRect(diff->item(0x11)).center());
    QCOMPARE(get<QComboBox>("ComboReg")->currentText(), QString("11"));
    QCOMPARE(bits(0), QString("00000011"));
    QCOMPARE(bits(1), QString("01010101"));
    QVERIFY(get<QLabel>("LaSnapshotArrow(0)")->isVisible());
    QCOMPARE(pane0->currentRow(), 0x11);
    QTest::mouseClick(pane1->viewport(), Qt::LeftButton, {},
                      pane1->visualItemRect(pane1->item(0x07)).center());
    QCOMPARE(get<QComboBox>("ComboReg")->currentText(), QString("07"));
    QCOMPARE(diff->currentRow(), 7);
    QCOMPARE(bits(1), QString("00100000"));

    type(value(0x11), "03");
    click("BuWrite");
    click("BuRefresh");
    QVERIFY(diff->isVisible());
    QCOMPARE(diff->item(0x11)->text(), QString(""));
    dump->click();
    QCOMPARE(window->width(), Twips(8040));
    QCOMPARE(dump->text(), QString("DUMP"));
  }

  // With the gate closed (as the load leaves it) nothing old stays on show:
  // the boxes empty, the temperature "--", an edit Write All could not
  // write marked, and the status line says why.
  void failedTransfersShowNothingOld() {
    const QString noAnswer = "no answer from 0xC0: is the I2C gate open?";
    auto* status = get<QLabel>("LaStatus");
    click("BuRefresh");
    click("BuThermometer");
    QCOMPARE(value(0x02)->text(), QString(""));
    QCOMPARE(get<QLineEdit>("TextReg")->text(), QString(""));
    QCOMPARE(text("LaThermo"), QString("--"));
    QCOMPARE(status->text(), noAnswer);
    QVERIFY(status->isVisible() && Fits(status) && !get<QWidget>("BuWrite")->isEnabled());
    click("chkPassthru");
    click("BuRefresh");
    type(value(0x11), "55");
    click("chkPassthru");
    click("BuWrite");
    QCOMPARE(value(0x11)->text(), QString("55"));
    QCOMPARE(label(0x11)->palette().color(QPalette::Window), QColor(255, 128, 128));
    QCOMPARE(value(0x11)->toolTip(), QString("Not written"));
    QVERIFY(!yellow(0x12) && value(0x12)->toolTip().isEmpty());
    QCOMPARE(status->text(), "Not written: " + noAnswer);
    QVERIFY(Fits(status));
  }

  // Without a tuner, or read-only, the window says why and offers nothing
  // that would write (that no action does is the editor's own check); a
  // read-only tuner straight on the bus is still read.
  void offersOnlyWhatItCanDo_data() {
    QTest::addColumn<QString>("board");  // "" for the built-in board
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("status");  // "" when hidden
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QString>("frame");  // the IF demodulator's, "" when hidden
    QTest::addColumn<QString>("pl");     // register 02's box
    const QString title = "Tuner registers",
                  at = title + QString::fromUtf8(" \u2014 TDA18271 at 0xC0");
    const QStringList all = {"chkPassthru", "BuThermometer", "BuReadPwrLvl",  "BuRefresh",
                             "chkPoll",     "chkPollThermo", "chkPollPwrLvl", "chkPollSnap1",
                             "BuWrite",     "BuRegReset"};
    const QStringList writing = {"chkPassthru",  "BuThermometer", "chkPollThermo",
                                 "BuReadPwrLvl", "chkPollPwrLvl", "BuWrite"};
    auto row = [](const char* name, QString board, bool readOnly, QString title, QString status,
                  QStringList disabled, QStringList enabled, QString frame, QString pl) {
      QTest::newRow(name) << board << readOnly << title << status << disabled << enabled << frame
                          << pl;
    };
    const QStringList reading = {"BuRefresh", "chkPoll"};
    // The demodulator alone has no front end of its own.
    row("demodulator alone", R"({"devices":[{"chip":"s5h1409"}]})", false, title, "No tuner found",
        all, {}, "", "");
    row("gate alone", R"({"devices":[{"chip":"tda8295"}]})", false, title, "No tuner found", all,
        {}, "TDA8295 @ 0x84", "");
    row("built-in", "", false, at, "", {}, all, "TDA8290 @ 0x84", "CC");
    row("tuner alone", R"({"devices":[{"chip":"tda18271"}]})", false, at, "", {}, all, "", "CC");
    row("read-only behind the gate", R"({"devices":[{"chip":"tda8290"},{"chip":"tda18271"}]})",
        true, title, "Read-only mode: the tuner sits behind the gate, which needs a write",
        writing + reading, {}, "TDA8290 @ 0x84", "");
    row("read-only on the bus", R"({"devices":[{"chip":"tda18271","registers":{"0x11":"0x5A"}}]})",
        true, at, "Read-only mode: quovis writes nothing to the bus", writing, reading, "", "CC");
  }
  void offersOnlyWhatItCanDo() {
    QFETCH(QString, board);
    QFETCH(bool, readOnly);
    QFETCH(QString, status);
    QFETCH(QStringList, disabled);
    QFETCH(QStringList, enabled);
    std::string error;
    this->readOnly = readOnly;
    if (!board.isEmpty()) open(ParseBoard(board.toStdString(), "t.json", error));
    QTEST(window->windowTitle(), "title");
    auto* label = get<QLabel>("LaStatus");
    QCOMPARE(label->isVisible(), !status.isEmpty());
    if (!status.isEmpty()) {
      QCOMPARE(label->text(), status);
      QVERIFY(Fits(label));
    }
    for (const QString& name : disabled) {
      QVERIFY2(!get<QWidget>(name)->isEnabled(), qPrintable(name));
      if (readOnly && name != "BuRefresh" && name != "chkPoll")
        QCOMPARE(get<QWidget>(name)->toolTip(),
                 QString("Read-only mode: quovis writes nothing to the bus"));
    }
    for (const QString& name : enabled) QVERIFY2(get<QWidget>(name)->isEnabled(), qPrintable(name));
    QFETCH(QString, frame);
    auto* box = get<QGroupBox>("FrameTDA829x");
    QCOMPARE(box->isVisible(), !frame.isEmpty());
    QCOMPARE(box->title(), frame.isEmpty() ? QString("TDA829x") : frame);
    QTEST(value(0x02)->text(), "pl");
  }

  // Every caption is drawn whole: the RF AGC reading at both ends of its
  // range, the temperature, the buttons, the snapshot button both ways.
  void noCaptionIsClipped() {
    struct Case {
      uint8_t rfagcField, powerLevel;
      const char* rfagc;
    } cases[] = {{0x00, 0x00, "rfagc gain: -10 dBuv_RMS"}, {0x70, 0x1F, "rfagc gain: 22 dBuv_RMS"}};
    for (const auto& c : cases) {
      // thermometer code 8 in the high range: the widest reading, 122
      openOnImage(ImageWith({{0x25, c.rfagcField}, {0x02, c.powerLevel}, {0x01, 0x28}}));
      click("BuReadPwrLvl");
      click("BuThermometer");
      QCOMPARE(text("LaRFAGCgain"), QString(c.rfagc));
      QCOMPARE(text("LaThermo"), QString::fromUtf8("122\u00B0C"));
      for (int wide = 0; wide < 2; ++wide) {
        QCOMPARE(get<QPushButton>("BuSnapshot")->text(), QString(wide ? "HIDE" : "DUMP"));
        QStringList clipped;
        for (QWidget* w : window->findChildren<QWidget*>())
          if (w->isVisible() && !Fits(w))
            clipped << QString("%1 (%2 px)").arg(w->objectName()).arg(w->width());
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
        click("BuSnapshot");
      }
    }
  }
};

QTEST_MAIN(frmNXPTest)
#include "frmNXP_qtest.moc"
