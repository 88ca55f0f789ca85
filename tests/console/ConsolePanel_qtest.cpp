#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "console/gui/ConsolePanel.h"
#include "sim/SimRegistry.h"
#include "support/FakeI2c.h"

class ConsolePanelTest : public QObject {
  Q_OBJECT

  FakeI2c fake;
  Bus bus{fake};
  ConsolePanel* panel = nullptr;

  template <class T>
  T* find(const char* name) {
    T* widget = panel->findChild<T*>(name);
    if (!widget) qFatal("no control %s", name);
    return widget;
  }
  QStringList log() {
    QStringList lines;
    auto* list = find<QListWidget>("lstLog");
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }
  // Types into a box and moves on to the next control, as the user would.
  void enter(const char* box, const QString& text) {
    auto* edit = find<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
  }
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

  void controlsAndArrangement() {
    struct Row {
      const char* label;
      const char* caption;
      const char* box;
      const char* text;
    } rows[] = {{"lblAddress", "Address", "txtAddress", ""},
                {"lblSubAddr", "Subaddress", "txtSubAddr", ""},
                {"lblData", "Data", "txtData", ""},
                {"lblReadCount", "Read Count", "txtReadCount", "1"}};
    QRect panelRect = panel->rect();
    QVERIFY(panel->minimumSizeHint().width() <= 260 && panel->minimumSizeHint().height() <= 390);
    int above = find<QListWidget>("lstLog")->geometry().bottom();
    QVERIFY(log().isEmpty());
    for (const auto& r : rows) {
      auto* label = find<QLabel>(r.label);
      auto* box = find<QLineEdit>(r.box);
      QCOMPARE(label->text(), QString(r.caption));
      QCOMPARE(box->text(), QString(r.text));
      QVERIFY(label->geometry().right() < box->geometry().left());
      QVERIFY(box->geometry().top() > above);
      QVERIFY(panelRect.contains(box->geometry()));
      above = box->geometry().bottom();
    }
    const char* buttons[2][3][2] = {
        {{"cmdRead", "Read"}, {"cmdWrite", "Write"}, {"cmdClear", "Clear"}},
        {{"cmdReadNS", "Read N/S"}, {"cmdWriteNS", "Write N/S"}, {"cmdScan", "Scan"}}};
    for (auto& row : buttons) {
      int left = -1, top = above;
      for (auto& b : row) {
        auto* button = find<QPushButton>(b[0]);
        QCOMPARE(button->text(), QString(b[1]));
        QVERIFY(button->geometry().top() > top && button->geometry().left() > left);
        QVERIFY(panelRect.contains(button->geometry()));
        left = button->geometry().right();
        above = button->geometry().bottom();
      }
    }
  }

  void boxesAreReadWhenLeft() {
    enter("txtAddress", "0a");
    QCOMPARE(find<QLineEdit>("txtAddress")->text(), QString("A"));
    enter("txtReadCount", "007");
    QCOMPARE(find<QLineEdit>("txtReadCount")->text(), QString("7"));
    enter("txtSubAddr", "1 a");
    QCOMPARE(find<QLineEdit>("txtSubAddr")->text(), QString("1 a"));
    // Typing alone changes nothing until the box is left, as clicking a button does.
    find<QLineEdit>("txtAddress")->setFocus();
    QTest::keyClicks(find<QLineEdit>("txtAddress"), "5");
    find<QPushButton>("cmdReadNS")->click();  // keeps the focus where it is
    QCOMPARE(log().last(), QString("Read  A 0 0 0 0 0 0 0 Returned 0"));
    click("cmdReadNS");
    QCOMPARE(log().last(), QString("Read  A5 0 0 0 0 0 0 0 Returned 0"));
    QCOMPARE(fake.calls.size(), size_t(2));
  }

  void readThenWriteSendsTheBytesBack() {
    fake.readData[0x10] = {0x12, 0x34};
    enter("txtAddress", "32");
    enter("txtSubAddr", "10");
    enter("txtReadCount", "2");
    click("cmdRead");
    QCOMPARE(find<QLineEdit>("txtData")->text(), QString("12 34"));
    click("cmdWrite");
    QCOMPARE(log(),
             QStringList({"Read  32 ( 10 ) 12 34 Returned 0", "Write 32 ( 10 ) 12 34 Returned 0"}));
    QCOMPARE(fake.calls.size(), size_t(2));
    QCOMPARE(fake.calls[1].bytes, (std::vector<uint8_t>{0x10, 0x12, 0x34}));
    QCOMPARE(find<QListWidget>("lstLog")->currentRow(), 1);
    QVERIFY(find<QListWidget>("lstLog")->item(1)->isSelected());
  }

  void switchingWindowsIsNotLeavingABox() {
    auto* box = find<QLineEdit>("txtAddress");
    box->setText("0a");
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
      QFocusEvent out(QEvent::FocusOut, reason);
      QApplication::sendEvent(box, &out);
      QCOMPARE(box->text(), QString("0a"));
    }
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(box, &out);
    QCOMPARE(box->text(), QString("A"));
  }

  void scanLetsTimersRun() {
    std::string error;
    auto board = MakeBuiltInBoard("s5h1409", error);
    QVERIFY(board);
    Bus simBus(*board);
    simBus.handle = board->velI2C_InitByType(24, 0);
    ConsolePanel simPanel(simBus, nullptr);
    std::vector<long> transactionsAtTicks;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] { transactionsAtTicks.push_back(board->transactions()); });
    poll.start(0);
    QTest::mouseClick(simPanel.findChild<QPushButton*>("cmdScan"), Qt::LeftButton);
    poll.stop();
    QCOMPARE(board->transactions(), 127L);
    QVERIFY(std::any_of(transactionsAtTicks.begin(), transactionsAtTicks.end(),
                        [](long n) { return n > 0 && n < 127; }));
    auto* list = simPanel.findChild<QListWidget*>("lstLog");
    // The demodulator and the IF demodulator in front of the (gated) tuner.
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QString("Scanning I2C Addresses for devices"));
    QCOMPARE(list->item(1)->text(), QString("Scan Read 32 0"));
    QCOMPARE(list->item(2)->text(), QString("Scan Read 84 0"));
    QCOMPARE(simPanel.findChild<QLineEdit*>("txtAddress")->text(), QString("FC"));
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
};

QTEST_MAIN(ConsolePanelTest)
#include "ConsolePanel_qtest.moc"
