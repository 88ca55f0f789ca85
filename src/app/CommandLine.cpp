// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <cstdlib>

#include "app/Version.h"
#include "bus/Format.h"

namespace {

bool ParseCount(const std::string& text, long low, long high, long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || v < low || v > high) return false;
  out = v;
  return true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  std::string whole;
  for (const auto& a : args) whole += " " + a;
  whole = LowerCase(whole);
  cl.debug = whole.find("-debug") != std::string::npos;
  cl.demod2 = whole.find("-demod2") != std::string::npos;
  cl.notray = whole.find("-notray") != std::string::npos;
  cl.tda = whole.find("-tda") != std::string::npos;

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string lower = LowerCase(arg);
    auto value = [&](const char* prefix) { return arg.substr(std::string(prefix).size()); };
    if (lower.rfind("--bus=", 0) == 0) {
      cl.bus = value("--bus=");
      if (cl.bus.empty()) cl.errors.push_back("--bus needs a value");
    } else if (lower.rfind("--capture=", 0) == 0) {
      cl.capture = value("--capture=");
      if (cl.capture.empty()) cl.errors.push_back("--capture needs a file name");
    } else if (lower.rfind("--record=", 0) == 0) {
      cl.record = value("--record=");
      if (cl.record.empty()) cl.errors.push_back("--record needs a file");
    } else if (lower == "--record") {
      if (i + 1 < args.size())
        cl.record = args[++i];
      else
        cl.errors.push_back("--record needs a file");
    } else if (lower == "--trace") {
      cl.trace = true;
    } else if (lower == "--headless") {
      cl.headless = true;
    } else if (lower == "--json") {
      cl.json = true;
    } else if (lower == "--help" || lower == "-h") {
      cl.help = true;
    } else if (lower == "--version") {
      cl.version = true;
    } else if (lower == "--list-buses") {
      cl.listBuses = true;
    } else if (lower == "--read-only") {
      cl.readOnly = true;
    } else if (lower.rfind("--polls=", 0) == 0) {
      long n;
      if (ParseCount(value("--polls="), 1, 1000000000L, n))
        cl.polls = n;
      else
        cl.errors.push_back("--polls needs a count of 1 or more, not \"" + value("--polls=") +
                            "\"");
    } else if (lower.rfind("--interval=", 0) == 0) {
      long ms;
      if (ParseCount(value("--interval="), 0, 86400000L, ms))
        cl.intervalMs = ms;
      else
        cl.errors.push_back("--interval needs milliseconds from 0 to 86400000, not \"" +
                            value("--interval=") + "\"");
    } else if (lower.rfind("--", 0) == 0 && lower.find("-debug") == std::string::npos &&
               lower.find("-demod2") == std::string::npos &&
               lower.find("-notray") == std::string::npos &&
               lower.find("-tda") == std::string::npos) {
      cl.errors.push_back("unknown option " + arg);
    }
  }
  return cl;
}

std::string VersionText() { return std::string("quovis ") + kQuovisVersion + "\n"; }

std::string UsageText() {
  return VersionText() +
         "usage: quovis [--bus=BUS] [--read-only] [--trace] [--record=FILE] [-debug] [-demod2]\n"
         "              [-notray] [-tda]\n"
         "       quovis --bus=BUS --headless [--read-only] [--polls=N] [--interval=MS] [--json]\n"
         "              [--record=FILE]\n"
         "       quovis --bus=BUS --capture=FILE.json [-tda]\n"
         "       quovis --list-buses | --version | --help\n"
         "BUS is one of\n"
         "  sim:<board>        a built-in simulated board (sim:s5h1409, sim:zl10353, ...)\n"
         "  sim:<file>.json    a board read from a file\n"
         "  /dev/i2c-N         a real card through Linux i2c-dev\n"
         "  N, i2c-N           the same, by adapter number\n"
         "  <adapter name>     the same, by the kernel's adapter name (see --list-buses)\n"
         "A simulated board has a simulated DVB frontend too: its kernel's view shows in the\n"
         "Kernel panel, the headless line, the --json report (\"kernel\", \"disagree\") and\n"
         "the records (kernel_* fields).\n"
         "options:\n"
         "  --list-buses       list the I2C adapters, their /dev nodes and access; opens none\n"
         "  --read-only        write nothing to the bus: the I2C Pass and Sleep boxes, the\n"
         "                     console's writes and the tuner editor's writes are refused\n"
         "  --trace            print every bus call to stderr\n"
         "  --capture=FILE.json  detect and poll once, only reading, and write what the\n"
         "                     chips answered as a board file for --bus=sim:FILE.json\n"
         "  --headless         poll without a window, one line per poll (--json: JSON)\n"
         "  --polls=N          headless: stop after N polls\n"
         "  --interval=MS      headless: pause between polls (default 1000)\n"
         "  --record=FILE      one record a poll, in the window or headless; the format\n"
         "                     follows the name: .jsonl (JSON lines), .csv (a header,\n"
         "                     then rows), .prom (Prometheus textfile, rewritten each poll)\n"
         "  -debug             show the I2C console\n"
         "  -demod2            probe the second demodulator address\n"
         "  -notray            no tray icon\n"
         "  -tda               open the tuner register editor as well\n";
}
