// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Entry.h"

#include <cstdlib>

#include "app/Capture.h"
#include "app/Session.h"
#include "app/Startup.h"
#include "bus/DvbFrontends.h"
#include "dvb/FrontendDevice.h"

int ReportStartFailure(const std::string& message, std::ostream& err) {
  err << message << '\n';
  if (message == kNoBoardMessage) err << kChooseBusHint << '\n';
  return 1;
}

std::string WindowFailureText(const std::string& message) {
  if (message == kNoBoardMessage)
    return message +
           "\nChoose one with the Board… button, or start quovis with --bus "
           "(quovis --list-buses lists the machine's buses).";
  if (message == kNoDemodulatorMessage)
    return message +
           "\nCheck that the card is powered and its driver loaded, or choose another of its "
           "buses: a card often has several.";
  return message;
}

std::optional<int> RefuseWindowWithoutDisplay(std::ostream& err) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return std::nullopt;
  }
  err << "quovis: no display to open the window on; use --headless\n";
  return 2;
}

std::optional<int> RunWithoutWindow(const CommandLine& cl, std::ostream& out, std::ostream& err) {
  if (!cl.error.empty()) {
    err << "quovis: " << cl.error << "\nTry 'quovis --help'.\n";
    return 2;
  }
  if (cl.help) {
    out << UsageText();
    return 0;
  }
  if (cl.version) {
    out << VersionText();
    return 0;
  }
  if (cl.listBuses) {
    Credentials who = Credentials::OfThisProcess();
    AdapterListReport adapters = AdapterListText(ListI2cAdapters({}, who));
    auto nameOf = [](const std::string& node, std::string& whyNot) {
      return ReadFrontendName(SystemFrontendDevice(), node, whyNot);
    };
    AdapterListReport frontends = FrontendListText(ListDvbFrontends({}, who, nameOf));
    out << adapters.table << (adapters.table.empty() || frontends.table.empty() ? "" : "\n")
        << frontends.table;
    err << adapters.notes << frontends.notes;
    return 0;
  }
  if (!cl.capture.empty()) return RunCapture(cl, out, err);
  if (!cl.headless) return std::nullopt;
  Session session(cl);
  std::string error;
  if (!session.OpenBus(err, error) || !session.Start(error)) return ReportStartFailure(error, err);
  return RunHeadless(session, out, err);
}
