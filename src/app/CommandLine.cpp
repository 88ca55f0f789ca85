// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <getopt.h>

#include <algorithm>
#include <cstdlib>

#include "app/Version.h"
#include "numbers/Format.h"
#include "sim/SimRegistry.h"

namespace {

enum Id {
  Bus,
  ReadOnly,
  Trace,
  Record,
  Headless,
  Align,
  Polls,
  Interval,
  Json,
  Capture,
  ListBuses,
  Version,
  Help,
  Debug,
  Demod2,
  Notray,
  Tda
};

struct Option {
  Id id;
  const char* name;
  bool isSwitch;  // one of the four switches, written with one dash
  // What an option without a value sets; nullptr for one that takes a value.
  bool CommandLine::*flag = nullptr;
  bool takesValue() const { return flag == nullptr; }
};

// Every option the command line takes: the parser, the usage check and the
// documentation test all read this table.
constexpr Option kOptions[] = {
    {Bus, "bus", false},
    {ReadOnly, "read-only", false, &CommandLine::readOnly},
    {Trace, "trace", false, &CommandLine::trace},
    {Record, "record", false},
    {Headless, "headless", false, &CommandLine::headless},
    {Align, "align", false, &CommandLine::align},
    {Polls, "polls", false},
    {Interval, "interval", false},
    {Json, "json", false, &CommandLine::json},
    {Capture, "capture", false},
    {ListBuses, "list-buses", false, &CommandLine::listBuses},
    {Version, "version", false, &CommandLine::version},
    {Help, "help", false, &CommandLine::help},
    {Debug, "debug", true, &CommandLine::debug},
    {Demod2, "demod2", true, &CommandLine::demod2},
    {Notray, "notray", true, &CommandLine::notray},
    {Tda, "tda", true, &CommandLine::tda},
};
constexpr bool InIdOrder() {
  for (size_t i = 0; i < std::size(kOptions); ++i)
    if (kOptions[i].id != Id(i)) return false;
  return true;
}
static_assert(InIdOrder(), "kOptions is indexed by Id");

// getopt_long's answer for option n of the table; below it are its own.
constexpr int kFirstCode = 256;

std::string Written(const Option& o) { return (o.isSwitch ? "-" : "--") + std::string(o.name); }

// A word as it would name an option with the dashes and case forgotten:
// "-Read-Only=1" and "--readonly" are both "readonly".
std::string Squeezed(std::string word) {
  word = LowerCase(word.substr(0, word.find('=')));
  std::erase(word, '-');
  return word;
}

// The switch a whole word names ("-DEBUG", "--tda"), or nullptr.
const Option* SwitchNamed(const std::string& word) {
  size_t dashes = word.rfind("--", 0) == 0 ? 2 : word.rfind('-', 0) == 0 ? 1 : 0;
  if (dashes == 0) return nullptr;
  std::string name = LowerCase(word.substr(dashes));
  for (const Option& o : kOptions)
    if (o.isSwitch && name == o.name) return &o;
  return nullptr;
}

std::string Unknown(const std::string& word) {
  std::string text = "unknown option '" + word + "'";
  for (const Option& o : kOptions)
    if (Squeezed(word) == Squeezed(o.name)) return text + " (did you mean '" + Written(o) + "'?)";
  return text;
}

bool ParseCount(const std::string& text, long low, long high, long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || v < low || v > high) return false;
  out = v;
  return true;
}

// Stores one option's value; the fault, if any.
std::string Apply(const Option& o, const std::string& value, CommandLine& cl) {
  if (o.flag) {
    cl.*o.flag = true;
    return "";
  }
  long n = 0;
  switch (o.id) {
    case Bus: cl.bus = value; break;
    case Record: cl.record = value; break;
    case Capture: cl.capture = value; break;
    case Polls:
      if (!ParseCount(value, 1, 1000000000L, n))
        return "--polls: needs a count of 1 or more, not \"" + value + "\"";
      cl.polls = n;
      break;
    case Interval:
      if (!ParseCount(value, 0, 86400000L, n))
        return "--interval: needs milliseconds from 0 to 86400000, not \"" + value + "\"";
      cl.intervalMs = n;
      break;
    default: break;
  }
  return "";
}

// Options that only mean something beside another.
std::string Conflict(const CommandLine& cl, const std::vector<bool>& given) {
  for (Id id : {Polls, Interval, Json})
    if (given[id] && !cl.headless)
      return "--" + std::string(kOptions[id].name) + ": only with --headless";
  if (given[Record] && given[Capture])
    return "--record: not with --capture, which polls once and writes only its board file";
  if (given[Align] && given[Json])
    return "--align: not with --json; its one refreshed line is for a person, --json's lines "
           "for a program";
  if (given[Align] && given[Capture])
    return "--align: not with --capture, which polls once and ends";
  return "";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  // The switches are found as whole words before getopt_long sees them, and
  // handed to it in the long form; messages and values quote the words as
  // typed.
  std::vector<std::string> words = {"quovis"};
  for (const auto& a : args) {
    const Option* s = SwitchNamed(a);
    words.push_back(s ? "--" + std::string(s->name) : a);
  }
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  std::vector<option> longOptions;
  for (const Option& o : kOptions)
    longOptions.push_back(
        {o.name, o.takesValue() ? required_argument : no_argument, nullptr, kFirstCode + o.id});
  longOptions.push_back({nullptr, 0, nullptr, 0});

  auto typed = [&](int i) { return args[size_t(i - 1)]; };
  auto valueOf = [&](const char* arg) {
    for (size_t i = 1; i + 1 < argv.size(); ++i)
      if (argv[i] == arg) return typed(int(i));  // the next word
    return std::string(arg);                     // after '='
  };

  std::vector<bool> given(std::size(kOptions), false);
  const int argc = int(words.size());
  optind = 0;  // a fresh scan
  opterr = 0;  // the faults are told here
  // '+': the first word that is no option ends the scan; ':': a missing
  // value is told apart from an unknown option.
  for (;;) {
    int at = std::max(optind, 1);
    int code = getopt_long(argc, argv.data(), "+:h", longOptions.data(), nullptr);
    if (code == -1) break;
    const std::string word = typed(at);
    if (code == ':') {
      cl.error = Written(kOptions[optopt - kFirstCode]) + ": needs a value";
      return cl;
    }
    if (code == '?') {
      cl.error = optopt >= kFirstCode ? Written(kOptions[optopt - kFirstCode]) + ": takes no value"
                                      : Unknown(word);
      return cl;
    }
    const Option& o = kOptions[code == 'h' ? Help : code - kFirstCode];
    // getopt_long also takes a long option's unambiguous beginning; quovis
    // takes whole names only.
    if (word.rfind("--", 0) == 0 && !SwitchNamed(word) &&
        word.substr(2, word.find('=') - 2) != o.name) {
      cl.error = "unknown option '" + word + "' (did you mean '" + Written(o) + "'?)";
      return cl;
    }
    if (given[o.id]) {
      cl.error = Written(o) + ": given twice";
      return cl;
    }
    given[o.id] = true;
    std::string value = o.takesValue() ? valueOf(optarg) : "";
    if (o.takesValue() && value.empty()) {
      cl.error = Written(o) + ": needs a value";
      return cl;
    }
    if (std::string fault = Apply(o, value, cl); !fault.empty()) {
      cl.error = fault;
      return cl;
    }
  }
  if (optind < argc) {
    cl.error = "stray word '" + typed(optind) + "': not an option nor an option's value";
    return cl;
  }
  cl.error = Conflict(cl, given);
  // Aiming an aerial wants a quick answer to each turn of it.
  if (cl.align && !given[Interval]) cl.intervalMs = kAlignIntervalMs;
  return cl;
}

std::vector<std::string> OptionNames() {
  std::vector<std::string> names;
  for (const Option& o : kOptions) names.push_back(Written(o));
  return names;
}

std::string VersionText() { return std::string("quovis ") + kQuovisVersion + "\n"; }

namespace {
// The built-in boards, wrapped to 80 columns under the descriptions' column.
std::string BuiltInBoardsText() {
  const std::string indent(21, ' ');
  std::string text, line = indent;
  const auto names = BuiltInBoardNames();
  for (size_t i = 0; i < names.size(); ++i) {
    std::string word = names[i] + (i + 1 < names.size() ? "," : "");
    if (line.size() > indent.size() && line.size() + 1 + word.size() > 80) {
      text += line + "\n";
      line = indent;
    }
    line += (line.size() > indent.size() ? " " : "") + word;
  }
  return text + line + "\n";
}
}  // namespace

std::string UsageText() {
  return VersionText() +
         "usage: quovis [--bus=BUS] [--read-only] [--trace] [--record=FILE] [-debug] [-demod2]\n"
         "              [-notray] [-tda]\n"
         "       quovis --bus=BUS --headless [--read-only] [--polls=N] [--interval=MS] [--json]\n"
         "              [--record=FILE]\n"
         "       quovis --bus=BUS --align [--headless [--polls=N] [--interval=MS]]\n"
         "              [--record=FILE]\n"
         "       quovis --bus=BUS --capture=FILE.json [-tda]\n"
         "       quovis --list-buses | --version | --help\n"
         "Each option is given once, its value after '=' or as the next word; '--' ends\n"
         "the options. The switches -debug, -demod2, -notray and -tda take one dash or\n"
         "two, in any case.\n"
         "BUS is one of\n"
         "  sim:<board>        a built-in simulated board, one of\n" +
         BuiltInBoardsText() +
         "  sim:<file>.json    a board read from a file\n"
         "  /dev/i2c-N         a real card through Linux i2c-dev\n"
         "  N, i2c-N           the same, by adapter number\n"
         "  <adapter name>     the same, by the kernel's adapter name (see --list-buses)\n"
         "  dvbA, dvbA.F       a card by its DVB frontend (F is 0 when left out): the\n"
         "                     lowest-numbered I2C adapter of the card this user may open;\n"
         "                     without one, the kernel's view alone and why\n"
         "  /dev/dvb/adapterA/frontendF\n"
         "                     the same, by the frontend's node\n"
         "A simulated board has a simulated DVB frontend too: its kernel's view shows in the\n"
         "Kernel panel, the headless line, the --json report (\"kernel\", \"disagree\") and\n"
         "the records (kernel_* fields).\n"
         "options:\n"
         "  --bus=BUS          the bus to open (above); without it the window asks\n"
         "  --list-buses       list the I2C adapters (/dev node, access, name) and the DVB\n"
         "                     frontends with their card's I2C adapters; opens no bus, only\n"
         "                     each frontend, read-only, for its name\n"
         "  --read-only        write nothing to the bus: the I2C Pass and Sleep boxes, the\n"
         "                     console's writes and the tuner editor's writes are refused\n"
         "  --trace            print every bus call to stderr\n"
         "  --capture=FILE.json  detect and poll once, only reading, and write what the\n"
         "                     chips answered as a board file for --bus=sim:FILE.json\n"
         "                     (no file when a read gets no answer)\n"
         "  --headless         poll without a window, one line per poll\n"
         "  --align            aim an aerial: the SNR in large figures, its peak, the margin\n"
         "                     over the mode's threshold and a tone that rises with it,\n"
         "                     polled every 200 ms; with --headless one refreshed line\n"
         "  --polls=N          headless: stop after N polls\n"
         "  --interval=MS      headless: pause between polls (default 1000, 200 with --align)\n"
         "  --json             headless: one JSON object per poll\n"
         "  --record=FILE      one record a poll, in the window or headless; the format\n"
         "                     follows the name: .jsonl (JSON lines), .csv (a header,\n"
         "                     then rows), .prom (Prometheus textfile, rewritten each poll)\n"
         "  --version          print the version\n"
         "  --help, -h         print this text\n"
         "  -debug             show the I2C console\n"
         "  -demod2            probe the second demodulator address\n"
         "  -notray            no tray icon\n"
         "  -tda               open the tuner register editor as well\n";
}
