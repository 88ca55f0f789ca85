#include "app/Session.h"

#include <chrono>
#include <iostream>
#include <thread>

Session::Session(CommandLine cl) : cl_(std::move(cl)), recordErrors_(&std::cerr) {}

bool Session::OpenBus(std::ostream& traceOut, std::string& error) {
  if (!OpenBusBackend(cl_.bus, cl_.trace, traceOut, backend_, error)) return false;
  bus_ = std::make_unique<Bus>(backend_.library());
  monitor_ = std::make_unique<Monitor>(cl_.debug);
  detection_ = std::make_unique<Detection>(BuiltInDrivers(*bus_, *monitor_));
  return true;
}

bool Session::Start(std::string& message) {
  startup_ = RunStartup(cl_, *bus_, *detection_, backend_.simulated());
  monitor_->model.title = startup_.title;
  if (!startup_.ok) {
    message = startup_.message;
    return false;
  }
  monitor_->SetDriver(startup_.driver);
  monitor_->WatchReads(bus_.get());
  return cl_.record.empty() || OpenRecording(message);
}

bool Session::OpenRecording(std::string& message) {
  recorder_ = OpenRecorder(cl_.record, {startup_.driverClass, cl_.bus}, message);
  if (!recorder_) return false;
  monitor_->model.title = startup_.title + kRecordingSuffix;
  monitor_->afterPoll = [this] { RecordPoll(); };
  return true;
}

void Session::RecordPoll() {
  std::string problem = recorder_->Record(monitor_->lastReading());
  if (!problem.empty()) *recordErrors_ << "quovis: " << problem << std::endl;
  monitor_->model.title =
      startup_.title +
      (recorder_->failing() ? kRecordingFailedSuffix + recorder_->failure() + "]" : kRecordingSuffix);
}

namespace {

// "+" locked, "-" not locked, "." no such indication on this chip or mode.
char LampMark(const Control& lamp) {
  if (lamp.fore == 0x00C000) return '+';
  if (lamp.fore == 0x0000FF) return '-';
  return '.';
}

}  // namespace

std::string ReportLine(const ViewModel& m) {
  std::string line = m["lblMode"].text + " |";
  for (const char* lamp : {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"})
    line += std::string(" ") + LampMark(m[lamp]) + m[lamp].text;
  line += " | SNR " + m["lblSNR"].text;
  for (const char* bar : {"vbalProgressBar1", "vbalProgressBar2", "vbalProgressBar3"})
    line += " | " + m[bar].text;
  line += " | Carrier " + m["lblCOffset"].text + " (" + m["lblCOHex"].text + ")";
  return line;
}

int RunHeadless(Session& session, std::ostream& out, std::ostream& err) {
  (void)err;
  const CommandLine& cl = session.commandLine();
  Monitor& monitor = session.monitor();
  for (long n = 0; !cl.polls || n < *cl.polls; ++n) {
    if (n > 0 && cl.intervalMs > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(cl.intervalMs));
    monitor.Poll();
    out << (cl.json ? ViewModelJson(monitor.model) : ReportLine(monitor.model)) << '\n';
    out.flush();
  }
  return 0;
}
