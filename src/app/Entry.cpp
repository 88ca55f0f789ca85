// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Entry.h"

#include "app/Capture.h"
#include "app/Session.h"
#include "app/Startup.h"
#include "bus/DvbFrontends.h"
#include "bus/LinuxFrontendName.h"

int ReportStartFailure(const std::string& message, std::ostream& err) {
  err << message << '\n';
  if (message == kNoBoardMessage) err << kChooseBusHint << '\n';
  return 1;
}

std::optional<int> RunWithoutWindow(const CommandLine& cl, std::ostream& out, std::ostream& err) {
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
    out << AdapterListText(ListI2cAdapters({}, who)) << '\n'
        << FrontendListText(ListDvbFrontends({}, who, ReadLinuxFrontendName));
    return 0;
  }
  if (!cl.errors.empty()) {
    for (const auto& e : cl.errors) err << "quovis: " << e << '\n';
    err << UsageText();
    return 2;
  }
  if (!cl.capture.empty()) return RunCapture(cl, out, err);
  if (!cl.headless) return std::nullopt;
  Session session(cl);
  std::string error;
  if (!session.OpenBus(err, error) || !session.Start(error)) return ReportStartFailure(error, err);
  return RunHeadless(session, out, err);
}
