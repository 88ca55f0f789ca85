// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Capture.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "app/BusSetup.h"
#include "app/Startup.h"
#include "bus/Bus.h"
#include "bus/CapturingI2cLibrary.h"
#include "dvb/CapturingFrontendDevice.h"
#include "dvb/FrontendReader.h"
#include "json/Json.h"
#include "monitor/Detection.h"
#include "monitor/Monitor.h"
#include "numbers/Format.h"
#include "record/ReplaceFile.h"
#include "sim/SimBoard.h"
#include "sim/SimRegistry.h"
#include "tuner/RegisterEditor.h"

namespace {

constexpr int kHighestFileAddress = 0xFE;

std::string HexDigits(long value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*lX", digits, value);
  return text;
}

// The board-file chip of a detected driver: a family whose variants have
// models of their own (lg2161, tda10048) by the driver's name, else by its
// class.
std::string DemodChip(const std::string& driverClass, const std::string& driverName) {
  std::string byName = LowerCase(driverName);
  if (FindSimChip(byName)) return byName;
  return driverClass;
}

struct Part {
  int address;
  std::string chip;
};

// One device entry: the chip, its address and every register it was read
// for, learnt from its reads in bus order.
std::string DeviceEntry(const Part& part, const std::vector<CapturingI2cLibrary::Read>& reads,
                        std::vector<std::string>& notes, long& registerCount) {
  const SimChip* chip = FindSimChip(part.chip);
  std::unique_ptr<SimDevice> learner = chip->make(false);
  std::unique_ptr<SimDevice> check = chip->make(false);
  std::map<long, long> registers;
  long unmapped = 0;
  for (const auto& r : reads) {
    if (r.address != part.address || !r.answered) continue;
    SimRead read{r.writeRead, r.mode, r.sub, r.command, r.bytes};
    if (!learner->Learn(read, registers)) ++unmapped;
  }
  if (unmapped)
    notes.push_back(std::to_string(unmapped) + " read(s) at " + HexDigits(part.address, 2) +
                    " did not map onto " + part.chip + " registers and were left out");
  std::string entry = "   {\"chip\": \"" + part.chip + "\", \"address\": \"" +
                      HexDigits(part.address, 2) + "\",\n    \"registers\": {";
  bool first = true;
  for (const auto& [reg, value] : registers) {
    std::string why;
    if (!check->SetRegister(reg, value, why)) {
      notes.push_back(part.chip + " register " + HexDigits(reg, 2) + " left out: " + why);
      continue;
    }
    int addressDigits = 2 * learner->AddressBytes();
    entry += std::string(first ? "" : ", ") + "\"" + HexDigits(reg, addressDigits) + "\": \"" +
             HexDigits(value, 2 * learner->RegisterBytes(reg)) + "\"";
    first = false;
    ++registerCount;
  }
  return entry + "}}";
}

// Where a read got no answer: its address and, when a captured part sits
// there, the register it was for in board-file numbering, as the part's
// model learns it after the reads before it.
std::string UnansweredRead(const std::vector<Part>& parts,
                           const std::vector<CapturingI2cLibrary::Read>& reads, size_t failed) {
  const CapturingI2cLibrary::Read& f = reads[failed];
  std::string where = HexDigits(f.address, 2);
  for (const auto& part : parts) {
    if (part.address != f.address) continue;
    std::unique_ptr<SimDevice> learner = FindSimChip(part.chip)->make(false);
    std::map<long, long> registers;
    for (size_t i = 0; i < failed; ++i)
      if (reads[i].address == f.address && reads[i].answered)
        learner->Learn(
            {reads[i].writeRead, reads[i].mode, reads[i].sub, reads[i].command, reads[i].bytes},
            registers);
    registers.clear();
    if (learner->Learn({f.writeRead, f.mode, f.sub, f.command, f.bytes}, registers) &&
        !registers.empty())
      where += " register " + HexDigits(registers.begin()->first, 2 * learner->AddressBytes());
  }
  return where;
}

}  // namespace

Capture CaptureBoard(I2cLibrary& library, const CommandLine& cl) {
  Capture capture;
  CapturingI2cLibrary recorder(library);
  Bus bus(recorder);
  Monitor monitor(cl.debug);
  // Reads that got no answer after their last attempt, by their place among
  // the recorded reads.
  std::vector<size_t> unanswered;
  bus.onFailedRead = [&] {
    if (!recorder.reads().empty()) unanswered.push_back(recorder.reads().size() - 1);
  };
  // Each driver is created just before its probe: where the chosen driver's
  // reads begin.
  std::map<std::string, size_t> probeStart;
  Detection::Maker builtIn = BuiltInDrivers(bus, monitor);
  Detection detection([&](const std::string& driverClass) {
    probeStart[driverClass] = recorder.reads().size();
    return builtIn(driverClass);
  });
  Startup startup = RunStartup(cl, bus, detection, false);
  if (!startup.ok) {
    capture.message = startup.message;
    return capture;
  }
  monitor.model.title = startup.title;
  monitor.SetDriver(startup.driver);
  monitor.WatchReads(&bus);
  monitor.Poll();
  capture.reading = monitor.lastReading();

  // The demodulator is what its probe and the poll read; a second address
  // is the chip's companion part (the S5H1411's AGC address).
  std::string demodChip = DemodChip(startup.driverClass, startup.driver->name());
  const SimChip* demodModel = FindSimChip(demodChip);
  std::vector<Part> parts;
  std::set<int> placed;
  for (size_t i = probeStart[startup.driverClass]; i < recorder.reads().size(); ++i) {
    int address = recorder.reads()[i].address;
    if (!recorder.reads()[i].answered || !placed.insert(address).second) continue;
    bool companion = !parts.empty() && demodModel && !demodModel->companion.empty();
    parts.push_back({address, companion ? demodModel->companion : demodChip});
  }

  if (cl.tda) {
    RegisterEditor editor(bus);
    editor.Load();
    const tda829x& ifDemod = editor.ifDemod();
    if (ifDemod.chip() != 0 && placed.insert(ifDemod.address()).second)
      parts.push_back({ifDemod.address(), "tda" + std::to_string(ifDemod.chip())});
    int tuner = editor.tuner().I2CAddr();
    if (!editor.tunerFound() && ifDemod.chip() != 0)
      capture.notes.push_back("no tuner captured: a tuner behind the TDA" +
                              std::to_string(ifDemod.chip()) +
                              "'s I2C gate is out of reach, since opening the gate is a write");
    else if (editor.tunerFound() && tuner > kHighestFileAddress)
      capture.notes.push_back("the tuner at " + HexDigits(tuner, 2) +
                              " has no place in a board file (8-bit addresses only)");
    else if (editor.tunerFound() && placed.insert(tuner).second)
      parts.push_back({tuner, "tda18271"});
  }

  // A register that did not answer would be replayed from the model's
  // defaults as if it had been read: no file rather than a wrong one. Only
  // the captured parts count: the other drivers' probes before the chosen
  // one's, and the addresses a probe tried where nothing answered, are no
  // reads of this board.
  for (size_t failed : unanswered)
    if (failed >= probeStart[startup.driverClass] &&
        placed.count(recorder.reads()[failed].address)) {
      capture.message = "quovis: capture: no answer from " +
                        UnansweredRead(parts, recorder.reads(), failed) + "; no file written";
      return capture;
    }

  long registerCount = 0;
  std::string devices;
  for (const auto& part : parts)
    devices += (devices.empty() ? "" : ",\n") +
               DeviceEntry(part, recorder.reads(), capture.notes, registerCount);
  capture.boardFile = "{\"types\": [" + std::to_string(recorder.openedType()) +
                      "],\n \"devices\": [\n" + devices + "]}\n";
  capture.refusedWrites = recorder.refusedWrites();
  capture.summary = startup.driver->name() + " (" + demodChip + ") at " +
                    HexDigits(parts.empty() ? 0 : parts.front().address, 2) + ", " +
                    std::to_string(parts.size()) + " device(s), " + std::to_string(registerCount) +
                    " register(s)";
  capture.ok = true;
  return capture;
}

std::optional<CapturedFrontend> CaptureFrontend(FrontendDevice& device, const std::string& node,
                                                std::string& why) {
  CapturingFrontendDevice capturing(device);
  FrontendReader reader(capturing);
  if (!reader.Open(node, why)) return std::nullopt;
  KernelReading read = reader.Poll();
  if (!read.problem.empty()) {
    why = read.problem;
    return std::nullopt;
  }
  return capturing.captured();
}

std::string WithFrontend(const std::string& boardFile,
                         const std::optional<CapturedFrontend>& frontend) {
  Json entry = Json::object();
  if (!frontend) {
    entry["absent"] = true;
  } else {
    const CapturedFrontend& c = *frontend;
    Json captured = Json::object();
    captured["status"] = c.status;
    captured["delivery_system"] = c.deliverySystem;
    captured["frequency"] = c.frequency;
    captured["modulation"] = c.modulation;
    Json stats = Json::object();
    for (const FrontendName& stat : kStatNames) {
      auto it = c.stats.find(stat.code);
      if (it == c.stats.end()) continue;
      const char* scale = "n/a";
      for (const FrontendName& s : kScaleNames)
        if (s.code == it->second.scale) scale = s.name;
      // Decibels are signed; counters and shares never reach the sign bit.
      stats[stat.name] = {{"scale", scale}, {"value", int64_t(it->second.svalue)}};
    }
    captured["stats"] = std::move(stats);
    if (!c.v3.empty()) {
      Json v3 = Json::object();
      for (const FrontendName& n : kV3Names)
        if (auto it = c.v3.find(n.code); it != c.v3.end()) v3[n.name] = it->second;
      captured["v3"] = std::move(v3);
    }
    entry["captured"] = std::move(captured);
  }
  // The entry joins the file's object after its devices.
  std::string text = boardFile.substr(0, boardFile.rfind('}'));
  return text + ",\n \"frontend\": " + JsonText(entry) + "}\n";
}

bool CanWriteFile(const std::string& path, std::string& error) {
  namespace fs = std::filesystem;
  fs::path file(path);
  fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  std::error_code ec;
  std::string why;
  if (fs::is_directory(file, ec))
    why = "it is a folder";
  else if (fs::exists(file, ec) ? ::access(path.c_str(), W_OK) != 0
                                : ::access(folder.c_str(), W_OK | X_OK) != 0)
    why = std::strerror(errno);
  if (why.empty()) return true;
  error = "cannot write the capture to " + path + ": " + why;
  return false;
}

int RunCapture(const CommandLine& cl, std::ostream& out, std::ostream& err) {
  std::string error;
  if (!CanWriteFile(cl.capture, error)) {
    err << "quovis: " << error << '\n';
    return 1;
  }
  BusBackend backend;
  if (!OpenBusBackend(cl.bus, cl.readOnly, cl.trace, err, backend, error)) {
    err << error << '\n';
    return 1;
  }
  if (!backend.noRegisterView.empty()) {
    err << backend.noRegisterView << '\n';
    return 1;
  }
  Capture capture = CaptureBoard(backend.library(), cl);
  if (!capture.ok) {
    err << capture.message << '\n';
    if (capture.message == kNoBoardMessage) err << kChooseBusHint << '\n';
    return 1;
  }
  // The frontend is read after the chips: a simulated driver follows what
  // they just said.
  std::optional<CapturedFrontend> frontend;
  std::string why;
  if (backend.simulated() && !backend.simBoard->frontend.absent) {
    SimFrontend simulated(backend.simBoard->frontend,
                          [&]() -> const Reading& { return capture.reading; });
    frontend = CaptureFrontend(simulated, SimFrontend::kNode, why);
  } else if (!backend.simulated() && !backend.frontend.empty()) {
    frontend = CaptureFrontend(SystemFrontendDevice(), backend.frontend, why);
  }
  if (!why.empty()) capture.notes.push_back("no frontend statistics captured: " + why);
  capture.boardFile = WithFrontend(capture.boardFile, frontend);
  // Whole or not at all: an interrupted capture leaves no half a board file.
  if (!ReplaceFile(cl.capture, capture.boardFile)) {
    err << "quovis: cannot write the capture to " << cl.capture << ": " << std::strerror(errno)
        << '\n';
    return 1;
  }
  for (const auto& note : capture.notes) err << "quovis: " << note << '\n';
  out << "Captured " << capture.summary << " to " << cl.capture << '\n';
  return 0;
}
