// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGroupBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "support/StartedWindow.h"
#include "support/Widgets.h"

// The window's Kernel panel: with a frontend it shows the kernel's lamps and
// values beside the register view; a C/N reported ten times over is named
// in red with how far apart the views are; a card without a frontend has no
// panel at all.
class KernelPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void panelShowsTheKernelViewAndWhereItDisagrees() {
    QTemporaryDir dir;
    struct Case {
      std::string frontend;  // the board file's "frontend" object; empty for the built-in board
      bool panel;
      double cnrFactor;  // the kernel's C/N over the register SNR
    } cases[] = {
        {"", true, 1}, {R"({"cnr_scale": 10})", true, 10}, {R"({"absent": true})", false, 0}};
    for (const Case& c : cases) {
      std::string bus = "sim:s5h1409";
      if (!c.frontend.empty()) {
        bus = "sim:" + dir.filePath("board.json").toStdString();
        std::ofstream(bus.substr(4))
            << R"({"devices": [{"chip": "s5h1409"}], "frontend": )" << c.frontend << "}";
      }
      StartedWindow s = StartWindow({"--bus=" + bus});
      frmQuovis& w = *s.window;
      // Five polls in a row apart make a disagreement.
      for (int i = 0; i < 5; ++i) emit w.tmrPoll().timeout({});
      QCOMPARE(w.control("frKernel") != nullptr, c.panel);
      if (!c.panel) continue;
      QVERIFY(!Child<QGroupBox>(&w, "frKernel")->isHidden());

      const QString snr = Child<QLabel>(&w, "lblSNR")->text().section(' ', 0, 0);  // "22.6 / ..."
      QCOMPARE(Child<QLabel>(&w, "lblKCnr")->text(),
               QString("C/N %1 dB").arg(snr.toDouble() * c.cnrFactor, 0, 'f', 1));
      QVERIFY(Child<QLabel>(&w, "lblKSignal")->text().endsWith(" dBm"));
      for (const char* lamp :
           {"lblKHasSignal", "lblKHasCarrier", "lblKHasViterbi", "lblKHasSync", "lblKHasLock"})
        QCOMPARE(Child<QLabel>(&w, lamp)->palette().color(QPalette::WindowText),
                 QColor(0, 0xC0, 0));

      QLabel* disagree = Child<QLabel>(&w, "lblKDisagree");
      const double apart = snr.toDouble() * (c.cnrFactor - 1);
      QCOMPARE(disagree->text(),
               apart ? QString("Disagree: SNR by %1 dB").arg(apart, 0, 'f', 1) : "");
      if (apart) QCOMPARE(disagree->palette().color(QPalette::WindowText), QColor(Qt::red));
    }
  }
};

QTEST_MAIN(KernelPanelTest)
#include "KernelPanel_qtest.moc"
