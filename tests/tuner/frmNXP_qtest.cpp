// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "bus/Bus.h"
#include "sim/BoardFile.h"
#include "sim/SimRegistry.h"
#include "support/RecordingLibrary.h"
#include "support/Widgets.h"
#include "tuner/PlacedFake.h"
#include "tuner/gui/frmNXP.h"

// The visible controls whose caption is not drawn whole.
static QStringList Clipped(QWidget* window) {
  QStringList clipped;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    QFontMetrics m = w->fontMetrics();
    bool fits = true;
    if (auto* l = qobject_cast<QLabel*>(w))
      fits = m.horizontalAdvance(l->text()) <= l->contentsRect().width();
    if (auto* c = qobject_cast<QCheckBox*>(w)) fits = c->sizeHint().width() <= c->width();
    if (auto* b = qobject_cast<QPushButton*>(w))
      fits = m.horizontalAdvance(b->text()) +
                 2 * b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2 <=
             b->width();
    if (w->isVisible() && !fits) clipped << w->objectName();
  }
  return clipped;
}

// The window, by default on a built-in board (TDA8290 gate, TDA18271c2
// behind it) whose clock stands still so that its readings do.
class frmNXPTest : public QObject {
  Q_OBJECT

  std::unique_ptr<SimBoard> board;
  std::unique_ptr<RecordingLibrary> rec;
  std::unique_ptr<PlacedFake> placed;
  std::unique_ptr<Bus> bus;
  std::unique_ptr<frmNXP> window;

  void open(std::unique_ptr<SimBoard> b, bool readOnly = false) {
    window.reset();
    board = std::move(b);
    board->SetClock([] { return 0.0; });
    rec = std::make_unique<RecordingLibrary>(*board);
    bus = std::make_unique<Bus>(*rec);
    bus->handle = rec->velI2C_InitByType(24, 0);
    show(readOnly);
  }
  void show(bool readOnly = false) {
    window = std::make_unique<frmNXP>(*bus, nullptr, readOnly);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }
  template <typename W = QWidget>
  W* get(const QString& name) {
    return Child<W>(window.get(), name);
  }
  QLineEdit* value(int i) { return get<QLineEdit>(QString("RegVal(%1)").arg(i)); }
  void click(const char* button) { get<QAbstractButton>(button)->click(); }
  QList<int> yellows() {
    QList<int> marked;
    for (int i = 0; i < 39; ++i)
      if (get<QLabel>(QString("RegLabel(%1)").arg(i))->palette().color(QPalette::Window) ==
          QColor(255, 255, 0))
        marked << i;
    return marked;
  }
  void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
  }
  QString text(const QString& name) { return get<QLabel>(name)->text(); }
  long chip(int address, int r) { return board->DeviceAt(address)->GetRegister(r); }

 private slots:
  void init() {
    std::string error;
    open(MakeBuiltInBoard("s5h1409", error));
  }
  void cleanup() { window.reset(); }

  // Read-only and self-clearing places read back differently from what was written.
  void writeAllMarksWhatReadsBackDifferently() {
    click("chkPassthru");
    QCOMPARE(chip(0x84, 0x21), 0xC0L);
    for (auto [r, v] : {std::pair{0x00, "00"},
                        {0x01, "A5"},
                        {0x02, "00"},
                        {0x05, "92"},
                        {0x11, "55"},
                        {0x12, "FF1"}})
      type(value(r), v);
    long before = board->transactions();
    click("BuWrite");
    QCOMPARE(board->transactions() - before, 2L);  // the write and one read-back
    QCOMPARE(QList<long>({chip(0xC0, 0x11), chip(0xC0, 0x12)}), QList<long>({0x55, 0xFF}));
    QCOMPARE(yellows(), QList<int>({0, 1, 2, 5}));
    click("BuRefresh");
    QCOMPARE(QStringList({value(0)->text(), value(1)->text(), value(2)->text(), value(5)->text()}),
             QStringList({"84", "A2", "CC", "12"}));
    QVERIFY(yellows().isEmpty());
  }

  // The widest readings fit, with the snapshot panes shut and open, and the
  // longest status line.
  void noCaptionIsClipped() {
    window.reset();
    placed = std::make_unique<PlacedFake>();
    placed->images[0xC0] = {ImageWith({{0x25, 0x00}, {0x02, 0x00}, {0x01, 0x28}})};
    bus = std::make_unique<Bus>(*placed);
    show();
    click("BuReadPwrLvl");
    click("BuThermometer");
    QCOMPARE(QStringList({text("LaRFAGCgain"), text("LaThermo")}),
             QStringList({"rfagc gain: -10 dBuv_RMS", QString::fromUtf8("122\u00B0C")}));
    QCOMPARE(Clipped(window.get()).join(","), QString());
    click("BuSnapshot");
    QCOMPARE(Clipped(window.get()).join(","), QString());
    // The longest status: read-only, with the tuner behind the gate.
    std::string error;
    open(ParseBoard(R"({"devices":[{"chip":"tda8290"},{"chip":"tda18271"}]})", "t.json", error),
         true);
    QCOMPARE(text("LaStatus"),
             "Read-only mode: the tuner sits behind the gate, which needs a write");
    QVERIFY(!Clipped(window.get()).contains("LaStatus"));
  }
};

QTEST_MAIN(frmNXPTest)
#include "frmNXP_qtest.moc"
