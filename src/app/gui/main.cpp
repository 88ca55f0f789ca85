// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <clocale>
#include <iostream>
#include <memory>

#include "app/Entry.h"
#include "app/Session.h"
#include "app/StopSignals.h"
#include "app/gui/BoardSwitch.h"
#include "console/gui/ConsolePanel.h"
#include "monitor/gui/Tray.h"
#include "monitor/gui/frmQuovis.h"
#include "tuner/gui/frmNXP.h"

namespace {

int Fail(const std::string& message) {
  int status = ReportStartFailure(message, std::cerr);
  QMessageBox box(QMessageBox::NoIcon, "quovis", QString::fromStdString(WindowFailureText(message)),
                  QMessageBox::Ok);
  box.exec();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine cl = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  // A capture is one short read with nothing to finish: a signal ends it.
  if (cl.capture.empty()) StopSignals::Install();
  if (auto status = RunWithoutWindow(cl, std::cout, std::cerr)) return *status;
  if (auto status = RefuseWindowWithoutDisplay(std::cerr)) return *status;

  Session session(cl);
  std::string error;
  QApplication app(argc, argv);
  // The toolkit takes the user's locale for everything; numbers keep a '.'
  // point for any C library call that still reads the locale.
  std::setlocale(LC_NUMERIC, "C");
  app.setApplicationName("quovis");
  if (!session.OpenBus(std::cerr, error)) return Fail(error);
  frmQuovis window(session.monitor());
  // The console and the tuner window work on the bus of the board open now.
  ConsolePanel* console = nullptr;
  std::unique_ptr<frmNXP> tuner;
  auto hostConsole = [&] {
    delete console;
    console = nullptr;
    if (cl.debug)
      window.HostConsole(console = new ConsolePanel(session.bus(), &window, cl.readOnly));
  };
  auto openTuner = [&] {
    if (!cl.tda) return;
    tuner = std::make_unique<frmNXP>(session.bus(), nullptr, cl.readOnly);
    tuner->show();
  };
  hostConsole();
  window.show();
  // Without --bus the user picks the board in the window; giving up leaves
  // the window without one, its Board… button there to try again.
  BoardAsking asking = DialogAsking(&window);
  if (!cl.bus.empty()) {
    if (!session.Start(error)) return Fail(error);
  } else if (!ChooseBoard(session, asking, std::cerr)) {
    ReportStartFailure(kNoBoardMessage, std::cerr);
    asking.tell(WindowFailureText(kNoBoardMessage));
  }

  Tray tray(QSystemTrayIcon::isSystemTrayAvailable());
  if (!cl.notray) {
    window.SetTray(&tray);
    tray.Add(window.windowState(), &window, QString::fromStdString(session.monitor().model.title));
  }
  openTuner();
  // Another board: the old one is closed, the window, its history and a
  // running recording go on with the new one.
  QObject::connect(&window, &frmQuovis::boardWanted, &window, [&] {
    // A failure may have closed the old board as well.
    bool told = false;
    BoardAsking switching = asking;
    switching.tell = [&](const std::string& text) {
      told = true;
      asking.tell(text);
    };
    if (ChooseBoard(session, switching, std::cerr) || told) {
      hostConsole();
      openTuner();
    }
    session.monitor().PollIntervalChange();
    window.Render();
  });
  session.monitor().PollIntervalChange();
  window.Render();
  if (cl.align) window.ShowAlign();
  // Closing the monitor ends the program, the tuner window with it.
  app.setQuitOnLastWindowClosed(false);
  QObject::connect(&window, &frmQuovis::closed, &app, &QApplication::quit);
  // A stop signal ends the program as closing the window does.
  QSocketNotifier stop(StopSignals::ReadEnd(), QSocketNotifier::Read);
  QObject::connect(&stop, &QSocketNotifier::activated, &app, &QApplication::quit);
  int status = app.exec();
  if (!session.FinishRecording()) return 1;
  return StopSignals::Received() ? StopSignals::ExitStatus(StopSignals::Received()) : status;
}
