// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Session.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>

#include "app/StopSignals.h"
#include "dvb/KernelText.h"
#include "monitor/AlignTone.h"
#include "monitor/Alignment.h"
#include "sim/SimBoard.h"

Session::Session(CommandLine cl) : cl_(std::move(cl)), recordErrors_(&std::cerr) {}

Session::~Session() { FinishRecording(); }

bool Session::FinishRecording() {
  if (!recorder_) return true;
  TellRecordError(recorder_->Finish());
  if (recorder_->attempts() == 0 || recorder_->anyWritten()) return true;
  if (!toldNoneWritten_) TellRecordError("no record reached " + recorder_->path());
  toldNoneWritten_ = true;
  return false;
}

void Session::TellRecordError(const std::string& problem) {
  if (!problem.empty()) *recordErrors_ << "quovis: " << problem << std::endl;
}

bool Session::OpenBus(std::ostream& traceOut, std::string& error) {
  if (!OpenBusBackend(cl_.bus, cl_.readOnly, cl_.trace, traceOut, backend_, error, lookup_))
    return false;
  monitor_ = std::make_unique<Monitor>(cl_.debug, cl_.readOnly);
  // A simulated board counts the polls its faults are given at; one observer
  // serves every board the run switches to.
  monitor_->AddPollObserver([this](const Reading&) {
    if (backend_.simBoard) backend_.simBoard->PollEnded();
  });
  return AttachBoard(traceOut, error);
}

bool Session::SwitchBoard(const std::string& bus, std::ostream& traceOut, std::string& message) {
  BusBackend next;
  if (!OpenBusBackend(bus, cl_.readOnly, cl_.trace, traceOut, next, message, lookup_)) return false;
  // Everything that points at the old board goes before the board itself.
  monitor_->ForgetBoard();
  frontend_.reset();
  simFrontend_.reset();
  detection_.reset();
  bus_.reset();
  backend_ = std::move(next);
  cl_.bus = bus;
  return AttachBoard(traceOut, message) && Start(message);
}

bool Session::AttachBoard(std::ostream& traceOut, std::string& error) {
  bus_ = std::make_unique<Bus>(backend_.library());
  detection_ = std::make_unique<Detection>(BuiltInDrivers(*bus_, *monitor_));
  // A simulated card has its frontend node, unless its board file says not.
  if (backend_.simulated() && !backend_.simBoard->frontend.absent) {
    simFrontend_ = std::make_unique<SimFrontend>(
        backend_.simBoard->frontend,
        [this]() -> const Reading& { return monitor_->lastReading(); });
    frontend_ = std::make_unique<FrontendReader>(*simFrontend_);
    if (!frontend_->Open(SimFrontend::kNode, error)) return false;
    monitor_->SetKernelSource(frontend_.get());
  } else if (!backend_.noRegisterView.empty()) {
    std::string why;
    if (!AttachFrontend(backend_.frontend, why)) {
      error = backend_.noRegisterView + "\nNo kernel view either: " + why;
      return false;
    }
    monitor_->SetRegisterViewMissing(backend_.noRegisterView);
  } else if (!backend_.frontend.empty()) {
    // The card's own frontend: without it the register view still stands.
    std::string why;
    if (!AttachFrontend(backend_.frontend, why))
      traceOut << "quovis: no kernel view: " << why << '\n';
  }
  return true;
}

bool Session::AttachFrontend(const std::string& node, std::string& error) {
  frontend_ = std::make_unique<FrontendReader>(*frontendDevice_);
  if (!frontend_->Open(node, error)) {
    frontend_.reset();
    return false;
  }
  monitor_->SetKernelSource(frontend_.get());
  return true;
}

bool Session::Start(std::string& message) {
  if (!backend_.noRegisterView.empty()) {
    // Nothing to detect on a bus that was never opened.
    startup_ = Startup{};
    startup_.ok = true;
    startup_.title = kDesignTitle + " (kernel view only)" + (cl_.readOnly ? " [read-only]" : "");
    monitor_->model.title = Title();
  } else {
    startup_ = RunStartup(cl_, *bus_, *detection_, backend_.simulated());
    monitor_->model.title = Title();
    if (!startup_.ok) {
      message = startup_.message;
      return false;
    }
    monitor_->SetDriver(startup_.driver);
    monitor_->WatchReads(bus_.get());
  }
  // A recording that runs goes on under the new board's labels.
  if (recorder_) recorder_->Relabel({startup_.driverClass, cl_.bus});
  return recorder_ || cl_.record.empty() || OpenRecording(message);
}

bool Session::OpenRecording(std::string& message) {
  recorder_ = OpenRecorder(cl_.record, {startup_.driverClass, cl_.bus}, message);
  if (!recorder_) return false;
  monitor_->model.title = Title();
  monitor_->AddPollObserver([this](const Reading&) { RecordPoll(); });
  return true;
}

void Session::RecordPoll() {
  TellRecordError(recorder_->Record(monitor_->lastReading()));
  monitor_->model.title = Title();
}

std::string Session::Title() const {
  if (!recorder_) return startup_.title;
  return startup_.title + (recorder_->failing()
                               ? kRecordingFailedSuffix + recorder_->failure() + "]"
                               : kRecordingSuffix);
}

namespace {

// "+" locked, "-" not locked, "." no such indication on this chip or mode.
char LampMark(int16_t flag) {
  if (flag == 1) return '+';
  if (flag == 0) return '-';
  return '.';
}

}  // namespace

std::string ReportLine(const Reading& r, const ViewModel& m) {
  if (!r.noRegisterView.empty())
    return r.noRegisterView +
           (r.kernel ? " | " + KernelText::Line(*r.kernel) + KernelText::DisagreeLine(r.disagree)
                     : "");
  // The mode label, the lamps' captions and the bars' prefixes are the
  // window's words; the values are the reading's.
  std::string line = m["lblMode"].text + " |";
  for (size_t i = 0; i < Monitor::kLampNames.size(); ++i)
    line += std::string(" ") + LampMark(r.locks[i]) + m[Monitor::kLampNames[i]].text;
  line += " | SNR " + SingleText(r.snr) + " / " + SingleText(r.average) + " (avg)";
  line += " | " + m["vbalProgressBar1"].prefix + SingleText(r.snr);
  line += " | " + m["vbalProgressBar2"].prefix + SignedText(r.uncorrectable);
  line += " | " + m["vbalProgressBar3"].prefix + SignedText(r.correctable);
  // A sleeping chip is not asked: the window still shows the last offset.
  // A silent one has none.
  auto offset = [&](const std::optional<std::string>& read, const char* label) {
    return read ? *read : r.answering ? m[label].text : "-";
  };
  // Whatever part of it the chip does not give is left out.
  std::string carrier = offset(r.carrierOffset, "lblCOffset");
  std::string hex = offset(r.carrierOffsetHex, "lblCOHex");
  if (!hex.empty()) carrier += (carrier.empty() ? "(" : " (") + hex + ")";
  if (!carrier.empty()) line += " | Carrier " + carrier;
  if (r.kernel) line += " | " + KernelText::Line(*r.kernel) + KernelText::DisagreeLine(r.disagree);
  return line;
}

std::string ReportJson(const Reading& r, const ViewModel& m) {
  std::string report = ViewModelJson(m);
  Json more = Json::object();
  if (!r.noRegisterView.empty()) {
    more["register_view"] = nullptr;
    more["no_register_view"] = r.noRegisterView;
  }
  if (r.kernel) {
    more["kernel"] = KernelText::Object(*r.kernel);
    more["disagree"] = KernelText::Disagree(r.disagree);
  }
  if (more.empty()) return report;
  // These members join the window's report inside its braces.
  report.pop_back();
  return report + "," + JsonText(more).substr(1);
}

int RunHeadless(Session& session, std::ostream& out, std::ostream& err) {
  const CommandLine& cl = session.commandLine();
  Monitor& monitor = session.monitor();
  int status = 0;
  Alignment alignment;
  size_t alignShown = 0;  // length of the refreshed line on the terminal
  for (long n = 0; !cl.polls || n < *cl.polls; ++n) {
    if (n > 0 && cl.intervalMs > 0 && StopSignals::Sleep(std::chrono::milliseconds(cl.intervalMs)))
      break;
    if (StopSignals::Received()) break;
    monitor.Poll();
    errno = 0;
    if (cl.align) {
      const AlignFigures& f = alignment.Update(monitor.lastReading());
      std::string line = AlignLine(f, AlignTone::PitchHz(f.margin));
      // Blanks cover what is left of a longer line before it.
      size_t length = line.size();
      line.resize(std::max(length, alignShown), ' ');
      alignShown = length;
      out << '\r' << line;
    } else {
      out << (cl.json ? ReportJson(monitor.lastReading(), monitor.model)
                      : ReportLine(monitor.lastReading(), monitor.model))
          << '\n';
    }
    out.flush();
    if (!out) {
      // A reader that went away (| head) wants no more; anything else is a
      // report lost.
      if (errno != EPIPE) {
        err << "quovis: cannot write to standard output: " << std::strerror(errno ? errno : EIO)
            << std::endl;
        status = 1;
      }
      break;
    }
  }
  if (alignShown > 0 && out) out << '\n' << std::flush;
  if (!session.FinishRecording()) status = 1;
  if (status == 0 && StopSignals::Received())
    status = StopSignals::ExitStatus(StopSignals::Received());
  return status;
}
