// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFileInfo>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/Entry.h"
#include "app/Startup.h"
#include "app/gui/BoardDialog.h"
#include "app/gui/BoardSwitch.h"
#include "support/FakeCards.h"
#include "support/StartedWindow.h"
#include "support/Widgets.h"

// Choosing the board in the window: the dialog's list on a machine's sysfs,
// the choice kept for next time, and another board without a restart.
class ChooseBoardTest : public QObject {
  Q_OBJECT

  QTemporaryDir config_;

 private slots:
  void initTestCase() {
    // The user's own settings stay untouched.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config_.path());
  }

  void theListGreysWhatMayNotBeOpenedAndAsksForABoardFile() {
    FakeSysfs m;
    BuildFakeCards(m);
    std::vector<BoardChoice> choices = ListBoardChoices(m.roots, kCardUser);
    QString askedFor = "/boards/attic.json";
    BoardDialog dialog(choices, nullptr, [&](QWidget*) { return askedFor; });
    QListWidget* list = dialog.list();
    QCOMPARE(list->count(), int(choices.size()));
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(list->item(8)->text(),
             QString("I2C i2c-7 cx23885[0]\n    no permission: join the i2c group: sudo adduser "
                     "$USER i2c, then log in again"));
    QVERIFY(!(list->item(8)->flags() & Qt::ItemIsEnabled));
    // The file entry asks; giving up there leaves the dialog open.
    list->setCurrentRow(list->count() - 1);
    askedFor.clear();
    dialog.Pick();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.bus(), std::string());
    askedFor = "/boards/attic.json";
    dialog.Pick();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.bus(), std::string("sim:/boards/attic.json"));
  }

  // The board that starts is remembered and offered first next time; one
  // that fails is told with what to try and not remembered.
  void theStartedChoiceIsRememberedAndFailuresAreTold() {
    QTemporaryDir dir;
    std::string empty = dir.filePath("empty.json").toStdString();
    std::ofstream(empty) << R"({"devices": []})";
    Session session(ParseCommandLine({}));
    std::string error;
    QVERIFY(session.OpenBus(std::cerr, error));
    std::vector<std::string> offered, told;
    std::vector<std::optional<std::string>> picks = {"sim:" + empty, "sim:s5h1409"};
    BoardAsking asking;
    asking.ask = [&](const std::string& remembered) {
      offered.push_back(remembered);
      std::optional<std::string> pick = picks.front();
      picks.erase(picks.begin());
      return pick;
    };
    asking.tell = [&](const std::string& text) { told.push_back(text); };
    std::ostringstream trace;
    QVERIFY(ChooseBoard(session, asking, trace));
    QCOMPARE(told, std::vector<std::string>{WindowFailureText(kNoDemodulatorMessage)});
    QCOMPARE(offered, (std::vector<std::string>{"", ""}));
    QVERIFY(session.monitor().driver());
    QVERIFY(QFileInfo::exists(config_.filePath("quovis/quovis.conf")));
    // Next time: the started board is offered; giving up changes nothing.
    picks = {std::nullopt};
    QVERIFY(!ChooseBoard(session, asking, trace));
    QCOMPARE(offered.back(), std::string("sim:s5h1409"));
    QCOMPARE(RememberedBus(), std::string("sim:s5h1409"));
  }

  // "Board…" asks for another board; the new one takes the old one's place
  // in the same window: the history and the recording go on, the records
  // with the new board's labels.
  void anotherBoardWithoutARestart() {
    QTemporaryDir dir;
    std::string file = dir.filePath("switch.jsonl").toStdString();
    std::ostringstream errors;
    StartedWindow s = StartWindow({"--bus=sim:s5h1409", "--record", file}, &errors);
    frmQuovis& w = *s.window;
    QSignalSpy wanted(&w, &frmQuovis::boardWanted);
    QTest::mouseClick(Child<QPushButton>(&w, "cmdBoard"), Qt::LeftButton);
    QCOMPARE(wanted.count(), 1);
    size_t before = w.history().size();
    BoardAsking asking;
    asking.ask = [](const std::string&) { return std::optional<std::string>("sim:zl10353"); };
    asking.tell = [](const std::string& text) { QFAIL(text.c_str()); };
    std::ostringstream trace;
    QVERIFY(ChooseBoard(*s.session, asking, trace));
    s.session->monitor().PollIntervalChange();
    w.Render();
    QCOMPARE(w.windowTitle(), QString("Digital Signal Quality (ZL10353) [simulated] [recording]"));
    QCOMPARE(w.history().size(), before + 1);
    std::ifstream in(file);
    std::string first, second, more;
    QVERIFY(std::getline(in, first) && std::getline(in, second) && !std::getline(in, more));
    QVERIFY(first.find(R"("chip":"s5h1409","bus":"sim:s5h1409")") != std::string::npos);
    QVERIFY(second.find(R"("chip":"zl10353","bus":"sim:zl10353")") != std::string::npos);
    QCOMPARE(errors.str(), std::string());
  }
};

QTEST_MAIN(ChooseBoardTest)
#include "ChooseBoard_qtest.moc"
