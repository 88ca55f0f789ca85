// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include "console/gui/ConsolePanel.h"
#include "sim/SimRegistry.h"
#include "support/FakeI2c.h"
#include "support/Widgets.h"

class ConsolePanelTest : public QObject {
  Q_OBJECT

  FakeI2c fake;
  Bus bus{fake};
  ConsolePanel* panel = nullptr;

  template <class T>
  T* find(const char* name) {
    return Child<T>(panel, name);
  }
  QString text(const char* box) { return find<QLineEdit>(box)->text(); }
  QStringList log() { return Lines(find<QListWidget>("lstLog")); }
  void enter(const char* box, const QString& text) { Enter(find<QLineEdit>(box), text); }
  void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }

 private slots:
  void init() {
    fake.calls.clear();
    fake.readData.clear();
    bus.handle = 7;
    panel = new ConsolePanel(bus, nullptr);
    panel->resize(260, 390);
    panel->show();
    panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel));
  }
  void cleanup() { delete panel; }

  // Under the log, top to bottom, each row left to right: a label and its box, or three buttons.
  void controlsAndArrangement() {
    const char* rows[][3][2] = {
        {{"lblAddress", "Address"}, {"txtAddress", ""}},
        {{"lblSubAddr", "Subaddress"}, {"txtSubAddr", ""}},
        {{"lblData", "Data"}, {"txtData", ""}},
        {{"lblReadCount", "Read Count"}, {"txtReadCount", "1"}},
        {{"cmdRead", "Read"}, {"cmdWrite", "Write"}, {"cmdClear", "Clear"}},
        {{"cmdReadNS", "Read N/S"}, {"cmdWriteNS", "Write N/S"}, {"cmdScan", "Scan"}},
    };
    QVERIFY(panel->minimumSizeHint().width() <= 260 && panel->minimumSizeHint().height() <= 390);
    QVERIFY(log().isEmpty());
    int above = find<QListWidget>("lstLog")->geometry().bottom();
    for (auto& row : rows) {
      int left = -1, bottom = above;
      for (auto& [name, caption] : row) {
        if (!name) continue;
        auto* control = find<QWidget>(name);
        QCOMPARE(control->property("text").toString(), QString(caption));
        QRect place = control->geometry();
        QVERIFY(place.top() > above && place.left() > left && panel->rect().contains(place));
        left = place.right();
        bottom = std::max(bottom, place.bottom());
      }
      above = bottom;
    }
  }

  // A box is read when it is left, and only then (what it reads is the console's).
  void boxesAreReadWhenLeft() {
    fake.readData[0x010A] = {0x12, 0x34};
    for (auto [box, typed, shown] : {std::tuple{"txtAddress", "0a", "A"},
                                     {"txtSubAddr", "1 a", "1 a"},
                                     {"txtReadCount", "002", "2"}}) {
      enter(box, typed);
      QCOMPARE(text(box), QString(shown));
    }
    click("cmdRead");
    QCOMPARE(text("txtData"), QString("12 34"));
    QCOMPARE(log(), QStringList({"Read  A ( 1 A ) 12 34 Returned 0"}));
    QVERIFY(find<QListWidget>("lstLog")->item(0)->isSelected());
    // Typing alone changes nothing until the box is left, as clicking a button does.
    auto* box = find<QLineEdit>("txtAddress");
    box->setFocus();
    QTest::keyClicks(box, "5");
    find<QPushButton>("cmdReadNS")->click();  // keeps the focus where it is
    QCOMPARE(log().last(), QString("Read  A 0 0 Returned 0"));
    // Switching to another window or opening the box's menu is not leaving it either.
    box->setText("a5");
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
      QFocusEvent out(QEvent::FocusOut, reason);
      QApplication::sendEvent(box, &out);
      QCOMPARE(box->text(), QString("a5"));
    }
    click("cmdReadNS");
    QCOMPARE(log().last(), QString("Read  A5 0 0 Returned 0"));
  }

  // Read-only, the write buttons stay offered and say why; what they then
  // log and send is the console's.
  void readOnlyWriteButtonsSayWhy() {
    delete panel;
    panel = new ConsolePanel(bus, nullptr, true);
    for (const char* name : {"cmdWrite", "cmdWriteNS"}) {
      QVERIFY(find<QPushButton>(name)->isEnabled());
      QCOMPARE(find<QPushButton>(name)->toolTip(),
               QString("Read-only mode: quovis writes nothing to the bus"));
    }
    QCOMPARE(find<QPushButton>("cmdRead")->toolTip(), QString());
  }

  // The demodulator and the IF demodulator in front of the (gated) tuner answer.
  void scanLetsTimersRun() {
    std::string error;
    auto board = MakeBuiltInBoard("s5h1409", error);
    QVERIFY(board);
    Bus simBus(*board);
    simBus.handle = board->velI2C_InitByType(24, 0);
    delete panel;
    panel = new ConsolePanel(simBus, nullptr);
    std::vector<long> transactionsAtTicks;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] { transactionsAtTicks.push_back(board->transactions()); });
    poll.start(0);
    click("cmdScan");
    poll.stop();
    QCOMPARE(board->transactions(), 127L);
    QVERIFY(std::any_of(transactionsAtTicks.begin(), transactionsAtTicks.end(),
                        [](long n) { return n > 0 && n < 127; }));
    QCOMPARE(log(), QStringList({"Scanning I2C Addresses for devices", "Scan Read 32 0",
                                 "Scan Read 84 0"}));
    QCOMPARE(text("txtAddress"), QString("FC"));
    delete panel;
    panel = nullptr;
  }

  void logCopiesToTheClipboardAndClears() {
    enter("txtData", "1 2");
    for (int i = 0; i < 3; ++i) click("cmdWriteNS");
    auto* list = find<QListWidget>("lstLog");
    list->setFocus();
    list->clearSelection();
    list->item(2)->setSelected(true);
    list->item(0)->setSelected(true);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             QString("Write 0 1 2 Returned 0\nWrite 0 1 2 Returned 0"));
    QList<QAction*> actions = list->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[1]->text(), QString("Copy All"));
    actions[1]->trigger();
    QCOMPARE(QApplication::clipboard()->text().count('\n'), 2);
    click("cmdClear");
    QVERIFY(log().isEmpty());
    QCOMPARE(fake.calls.size(), size_t(3));
  }

  // A line longer than the list after a short one is neither elided nor cut
  // to the short line's width: the list scrolls sideways to show it.
  void longLogLinesAreShownWhole() {
    enter("txtData", "1");
    click("cmdWriteNS");
    QTest::qWait(50);  // the short line is laid out first
    QStringList bytes;
    for (int i = 0; i < 120; ++i) bytes << "AB";
    enter("txtData", bytes.join(' '));
    click("cmdWriteNS");
    auto* list = find<QListWidget>("lstLog");
    QCOMPARE(list->count(), 2);
    QString line = list->item(1)->text();
    QVERIFY(line.size() > 360);
    QCOMPARE(list->textElideMode(), Qt::ElideNone);
    QTest::qWait(50);  // the batched layout runs from the event loop
    QVERIFY(list->visualItemRect(list->item(1)).width() >=
            list->fontMetrics().horizontalAdvance(line));
    QVERIFY(list->horizontalScrollBar()->maximum() > 0);
  }
};

QTEST_MAIN(ConsolePanelTest)
#include "ConsolePanel_qtest.moc"
