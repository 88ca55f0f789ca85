#include <QApplication>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <clocale>
#include <iostream>

#include "app/Capture.h"
#include "app/CommandLine.h"
#include "app/Session.h"
#include "app/gui/Tray.h"
#include "bus/I2cAdapters.h"
#include "console/gui/ConsolePanel.h"
#include "monitor/gui/frmQuovis.h"
#include "tuner/gui/frmNXP.h"

#include <memory>

namespace {

int Fail(const std::string& message, bool headless) {
  std::cerr << message << '\n';
  if (message == kNoBoardMessage) std::cerr << kChooseBusHint << '\n';
  if (!headless) {
    QMessageBox box(QMessageBox::NoIcon, "quovis", QString::fromStdString(message), QMessageBox::Ok);
    box.exec();
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine cl = ParseCommandLine(args);
  if (cl.help) {
    std::cout << UsageText();
    return 0;
  }
  if (cl.version) {
    std::cout << VersionText();
    return 0;
  }
  if (cl.listBuses) {
    std::cout << AdapterListText(ListI2cAdapters({}, Credentials::OfThisProcess()));
    return 0;
  }
  if (!cl.errors.empty()) {
    for (const auto& e : cl.errors) std::cerr << "quovis: " << e << '\n';
    std::cerr << UsageText();
    return 2;
  }

  if (!cl.capture.empty()) return RunCapture(cl, std::cout, std::cerr);

  Session session(cl);
  std::string error;
  if (cl.headless) {
    if (!session.OpenBus(std::cerr, error)) return Fail(error, true);
    if (!session.Start(error)) return Fail(error, true);
    return RunHeadless(session, std::cout, std::cerr);
  }

  QApplication app(argc, argv);
  // The toolkit takes the user's locale for everything; numbers keep a '.'
  // point for any C library call that still reads the locale.
  std::setlocale(LC_NUMERIC, "C");
  app.setApplicationName("quovis");
  if (!session.OpenBus(std::cerr, error)) return Fail(error, false);
  frmQuovis window(session.monitor());
  if (cl.debug) window.HostConsole(new ConsolePanel(session.bus(), &window, cl.readOnly));
  window.show();
  if (!session.Start(error)) return Fail(error, false);

  Tray tray(QSystemTrayIcon::isSystemTrayAvailable());
  if (!cl.notray) {
    window.SetTray(&tray);
    tray.Add(window.windowState(), &window, QString::fromStdString(session.monitor().model.title));
  }
  std::unique_ptr<frmNXP> tuner;
  if (cl.tda) {
    tuner = std::make_unique<frmNXP>(session.bus(), nullptr, cl.readOnly);
    tuner->show();
  }
  session.monitor().PollIntervalChange();
  window.Render();
  // Closing the monitor ends the program, the tuner window with it.
  app.setQuitOnLastWindowClosed(false);
  QObject::connect(&window, &frmQuovis::closed, &app, &QApplication::quit);
  return app.exec();
}
