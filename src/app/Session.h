// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <ostream>
#include <string>

#include "app/BusSetup.h"
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "bus/Bus.h"
#include "dvb/FrontendReader.h"
#include "monitor/Detection.h"
#include "monitor/Monitor.h"
#include "record/Recorder.h"

// One run of the program without its windows: the chosen bus, the bus
// state, the monitor's model with the detected driver.
class Session {
 public:
  explicit Session(CommandLine cl);
  // Waits until the last poll is in the record file; a failed last write
  // that no poll has told yet is told.
  ~Session();

  // Opens the bus named by --bus; false with a message naming it and why.
  // A card without a register view is read through its frontend alone:
  // false when that cannot be opened either.
  bool OpenBus(std::ostream& traceOut, std::string& error);
  // Closes the board and opens `bus` in its place, then starts it as Start
  // does: the monitor, its observers and a running recording go on, the
  // records with the new board's labels. A bus that cannot be opened leaves
  // the old board running; false with the message in both failures.
  bool SwitchBoard(const std::string& bus, std::ostream& traceOut, std::string& message);
  // The start-up: board, second-demodulator switch, detection, title, and
  // the file of --record. False with the start-up failure message.
  bool Start(std::string& message);
  // Waits until the last poll is in the record file; a failed last write
  // that no poll has told yet is told. False when polls were recorded and
  // not one of them reached the file, which is told.
  bool FinishRecording();
  // Reads the kernel's view of the card from a DVB frontend node beside the
  // registers; false with a message naming the node and why not.
  bool AttachFrontend(const std::string& node, std::string& error);
  // Where real cards are looked up and their frontends read; this machine's
  // unless changed before OpenBus.
  void UseSystem(CardLookup lookup, FrontendDevice& frontends) {
    lookup_ = std::move(lookup);
    frontendDevice_ = &frontends;
  }
  // Where a failed record write is told (once); stderr unless changed.
  void TellRecordErrorsTo(std::ostream& out) { recordErrors_ = &out; }

  const CommandLine& commandLine() const { return cl_; }
  Bus& bus() { return *bus_; }
  Monitor& monitor() { return *monitor_; }
  BusBackend& backend() { return backend_; }

 private:
  // The monitor's frontend, then the kernel view beside the registers.
  bool AttachBoard(std::ostream& traceOut, std::string& error);
  bool OpenRecording(std::string& message);
  void RecordPoll();
  // The start-up's title, and how the recording goes.
  std::string Title() const;
  void TellRecordError(const std::string& problem);

  CommandLine cl_;
  BusBackend backend_;
  std::unique_ptr<Bus> bus_;
  std::unique_ptr<Monitor> monitor_;
  std::unique_ptr<Detection> detection_;
  Startup startup_;
  std::unique_ptr<Recorder> recorder_;
  std::unique_ptr<FrontendDevice> simFrontend_;
  std::unique_ptr<FrontendReader> frontend_;
  CardLookup lookup_;
  FrontendDevice* frontendDevice_ = &SystemFrontendDevice();
  std::ostream* recordErrors_;
  bool toldNoneWritten_ = false;
};

// What the window title ends in while recording, and after a write failed.
inline const std::string kRecordingSuffix = " [recording]";
inline const std::string kRecordingFailedSuffix = " [recording failed: ";

// The headless report: one line per poll (readable, or JSON with --json),
// until the polls are done, a stop signal comes or standard output is
// closed. Returns the exit status: 1 when standard output could not be
// written (not for a reader that went away) or no record reached the file,
// else the stop signal's, else 0.
int RunHeadless(Session& session, std::ostream& out, std::ostream& err);
// One poll's readable line: the reading, in the words of the window; for a
// card read through its frontend alone, why it has no register view.
std::string ReportLine(const Reading& reading, const ViewModel& model);
// One poll's --json report: the window's model, and with a frontend the
// kernel's view ("kernel") and what disagrees ("disagree"); a card read
// through its frontend alone has "register_view": null and the line saying
// why ("no_register_view").
std::string ReportJson(const Reading& reading, const ViewModel& model);
