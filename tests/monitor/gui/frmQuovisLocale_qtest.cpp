// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cstdlib>
#include <fstream>

#include "support/StartedWindow.h"
#include "support/Widgets.h"

// The monitor window for a German user: the toolkit takes the decimal-comma
// locale from the environment, and the window's numbers keep their point
// (each number text and board-file number is checked under that locale on
// its own; this is the whole program under it).
class frmQuovisLocaleTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    if (std::string(std::localeconv()->decimal_point) != ",")
      QSKIP("locale de_DE.UTF-8 is not generated (locale-gen)");
  }

  // LGDT3305 in 8-VSB: carrier 0x040000 * 2^-24 * 21520 = 336.25; timing
  // 2 * -0x400 * 2^-30 * 21520 = -.04104614 (7 digits, no zero before the point).
  void carrierOffsets() {
    QTemporaryDir dir;
    std::string path = dir.filePath("board.json").toStdString();
    std::ofstream(path) << R"({"devices": [{"chip": "lgdt3305", "registers": {"0x0118": 4.0,
        "0x0119": 0, "0x011A": 0, "0x0217": "0xFF", "0x0218": "0xFC", "0x0219": 0}}]})";
    StartedWindow s = StartWindow({"--bus=sim:" + path});
    QCOMPARE(QStringList({Child<QLabel>(s.window.get(), "lblCOffset")->text(),
                          Child<QLabel>(s.window.get(), "lblCOHex")->text()}),
             QStringList({"336.25", "-.04104614"}));
  }
};

int main(int argc, char** argv) {
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  QApplication app(argc, argv);
  frmQuovisLocaleTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "frmQuovisLocale_qtest.moc"
