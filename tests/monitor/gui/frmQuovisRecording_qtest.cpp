// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "support/PromParser.h"
#include "support/StartedWindow.h"
#include "support/Widgets.h"

// The monitor window while it records: its title says so, and every poll of
// the window (start, timer, Update) is recorded.
class frmQuovisRecordingTest : public QObject {
  Q_OBJECT

  static StartedWindow Start(const std::string& file, std::ostream& errors) {
    return StartWindow({"--bus=sim:s5h1409", "--record", file}, &errors);
  }

 private slots:
  // The .prom file is written beside the window's polls; when the window
  // and its session end, the file holds the last of them and nothing else
  // is left in the folder.
  void aPromFileHoldsTheLastPollWhenTheSessionEnds() {
    QTemporaryDir dir;
    std::string file = dir.filePath("window.prom").toStdString();
    std::ostringstream errors;
    {
      StartedWindow s = Start(file, errors);
      QCOMPARE(s.window->windowTitle(),
               QString("Digital Signal Quality (CX24227) [simulated] [recording]"));
      QTest::mouseClick(Child<QPushButton>(s.window.get(), "cmdUpdate"), Qt::LeftButton);
      emit s.window->tmrPoll().timeout({});
    }
    std::ifstream in(file, std::ios::binary);
    PromDocument doc = ParseProm(std::string(std::istreambuf_iterator<char>(in), {}));
    QCOMPARE(doc.error, std::string());
    QVERIFY(doc.Find("quovis_polls_total"));
    QCOMPARE(doc.Find("quovis_polls_total")->value, 3.0);  // start-up, Update, timer
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"window.prom"});
    QCOMPARE(errors.str(), std::string());
  }
};

QTEST_MAIN(frmQuovisRecordingTest)
#include "frmQuovisRecording_qtest.moc"
