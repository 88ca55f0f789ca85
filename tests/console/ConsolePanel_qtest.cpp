// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "console/gui/ConsolePanel.h"
#include "support/FakeI2c.h"
#include "support/Widgets.h"

class ConsolePanelTest : public QObject {
  Q_OBJECT

  FakeI2c fake;
  Bus bus{fake};

 private slots:
  // Under the log, top to bottom, each row left to right: a label and its box,
  // or three buttons. Read-only, the write buttons stay offered and say why.
  void controlsArrangementAndReadOnlyTips() {
    const char* rows[][3] = {{"lblAddress", "txtAddress"},
                             {"lblSubAddr", "txtSubAddr"},
                             {"lblData", "txtData"},
                             {"lblReadCount", "txtReadCount"},
                             {"cmdRead", "cmdWrite", "cmdClear"},
                             {"cmdReadNS", "cmdWriteNS", "cmdScan"}};
    for (bool readOnly : {false, true}) {
      ConsolePanel panel(bus, nullptr, readOnly);
      panel.resize(260, 390);
      panel.show();
      QStringList seen;
      int above = Child<QListWidget>(&panel, "lstLog")->geometry().bottom();
      for (auto& row : rows) {
        int left = -1, bottom = above;
        for (const char* name : row) {
          if (!name) continue;
          auto* control = Child<QWidget>(&panel, name);
          seen << QString("%1=%2/%3/%4")
                      .arg(name, control->property("text").toString(), control->toolTip())
                      .arg(control->isEnabled());
          QRect place = control->geometry();
          QVERIFY2(place.top() > above && place.left() > left && panel.rect().contains(place),
                   name);
          left = place.right();
          bottom = std::max(bottom, place.bottom());
        }
        above = bottom;
      }
      QString why = readOnly ? "Read-only mode: quovis writes nothing to the bus" : "";
      QCOMPARE(
          seen.join(", "),
          QString("lblAddress=Address//1, txtAddress=//1, lblSubAddr=Subaddress//1, "
                  "txtSubAddr=//1, lblData=Data//1, txtData=//1, lblReadCount=Read Count//1, "
                  "txtReadCount=1//1, cmdRead=Read//1, cmdWrite=Write/%1/1, cmdClear=Clear//1, "
                  "cmdReadNS=Read N/S//1, cmdWriteNS=Write N/S/%1/1, cmdScan=Scan//1")
              .arg(why));
      QVERIFY(Lines(Child<QListWidget>(&panel, "lstLog")).isEmpty());
    }
  }

  // A box is read when it is left, and only then; Read sends what they say.
  void boxesAreReadWhenLeft() {
    ConsolePanel panel(bus, nullptr);
    panel.show();
    panel.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    bus.handle = 7;
    fake.readData[0x010A] = {0x12, 0x34};
    auto box = [&](const char* name) { return Child<QLineEdit>(&panel, name); };
    for (auto [name, typed, shown] : {std::tuple{"txtAddress", "0a", "A"},
                                      {"txtSubAddr", "1 a", "1 a"},
                                      {"txtReadCount", "002", "2"}}) {
      Enter(box(name), typed);
      QCOMPARE(box(name)->text(), QString(shown));
    }
    QTest::mouseClick(Child<QPushButton>(&panel, "cmdRead"), Qt::LeftButton);
    QCOMPARE(box("txtData")->text(), QString("12 34"));
    box("txtAddress")->setFocus();
    QTest::keyClicks(box("txtAddress"), "5");
    Child<QPushButton>(&panel, "cmdReadNS")->click();  // keeps the focus in the box
    QCOMPARE(Lines(Child<QListWidget>(&panel, "lstLog")),
             QStringList({"Read  A ( 1 A ) 12 34 Returned 0", "Read  A 0 0 Returned 0"}));
  }
};

QTEST_MAIN(ConsolePanelTest)
#include "ConsolePanel_qtest.moc"
