// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "app/Entry.h"
#include "support/Headless.h"

namespace {

// What a command line switched on or set, in a fixed order.
std::string Described(const CommandLine& cl) {
  std::string text;
  auto add = [&](bool on, const std::string& what) {
    if (on) text += (text.empty() ? "" : " ") + what;
  };
  add(!cl.bus.empty(), "bus=" + cl.bus);
  add(!cl.record.empty(), "record=" + cl.record);
  add(!cl.capture.empty(), "capture=" + cl.capture);
  add(cl.headless, "headless");
  add(cl.align, "align");
  add(cl.polls.has_value(), "polls=" + std::to_string(cl.polls.value_or(0)));
  add(cl.intervalMs != 1000, "interval=" + std::to_string(cl.intervalMs));
  add(cl.json, "json");
  add(cl.readOnly, "read-only");
  add(cl.trace, "trace");
  add(cl.debug, "debug");
  add(cl.demod2, "demod2");
  add(cl.notray, "notray");
  add(cl.tda, "tda");
  return text;
}

// Accepted lines that want the window end nothing here (no status), the
// others end with 0; every refused one ends with one line saying what and
// why, the pointer to --help, and status 2.
TEST(CommandLine, AcceptedAndRefusedLines) {
  const std::string help = "\nTry 'quovis --help'.\n";
  struct Case {
    std::vector<std::string> args;
    std::optional<int> status;
    std::string err;  // refused: the whole of stderr; accepted: what was set
  } cases[] = {
      // Switches are whole words only, in any case, with one dash or two.
      {{"--bus=sim:s5h1409", "--record=run-tda.csv"}, {}, "bus=sim:s5h1409 record=run-tda.csv"},
      {{"--record", "-debug", "--bus", "sim:s5h1409"}, {}, "bus=sim:s5h1409 record=-debug"},
      {{"-DEBUG", "--tda", "-Demod2", "--NoTray"}, {}, "debug demod2 notray tda"},
      {{"--bus", "sim:s5h1409", "--read-only", "--trace", "--"},
       {},
       "bus=sim:s5h1409 read-only trace"},
      {{"--bus=sim:s5h1409", "--headless", "--polls", "1", "--interval=0", "--json"},
       0,
       "bus=sim:s5h1409 headless polls=1 interval=0 json"},
      {{"--version"}, 0, ""},
      // --align polls every 200 ms unless told otherwise.
      {{"--bus=sim:s5h1409", "--align"}, {}, "bus=sim:s5h1409 align interval=200"},
      {{"--bus=sim:s5h1409", "--align", "--headless", "--polls=1", "--interval=0"},
       0,
       "bus=sim:s5h1409 headless align polls=1 interval=0"},
      // Unknown options and stray words.
      {{"-read-only"},
       2,
       "quovis: unknown option '-read-only' (did you mean '--read-only'?)" + help},
      {{"--head"}, 2, "quovis: unknown option '--head' (did you mean '--headless'?)" + help},
      {{"-x"}, 2, "quovis: unknown option '-x'" + help},
      {{"--", "-debug"},
       2,
       "quovis: stray word '-debug': not an option nor an option's value" + help},
      // Values.
      {{"-debug", "--DEBUG"}, 2, "quovis: -debug: given twice" + help},
      {{"--bus"}, 2, "quovis: --bus: needs a value" + help},
      {{"--capture="}, 2, "quovis: --capture: needs a value" + help},
      {{"--read-only=1"}, 2, "quovis: --read-only: takes no value" + help},
      {{"--headless", "--polls=0"},
       2,
       "quovis: --polls: needs a count of 1 or more, not \"0\"" + help},
      {{"--headless", "--interval", "-1"},
       2,
       "quovis: --interval: needs milliseconds from 0 to 86400000, not \"-1\"" + help},
      // Options that need another, or exclude one.
      {{"--bus=sim:s5h1409", "--polls=3"}, 2, "quovis: --polls: only with --headless" + help},
      {{"--capture=a.json", "--record=b.csv"},
       2,
       "quovis: --record: not with --capture, which polls once and writes only its board file" +
           help},
      {{"--headless", "--align", "--json"},
       2,
       "quovis: --align: not with --json; its one refreshed line is for a person, --json's "
       "lines for a program" +
           help},
      {{"--align", "--capture=a.json"},
       2,
       "quovis: --align: not with --capture, which polls once and ends" + help},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const auto& a : c.args) line += a + " ";
    SCOPED_TRACE(line);
    CommandLine cl = ParseCommandLine(c.args);
    std::ostringstream out, err;
    EXPECT_EQ(RunWithoutWindow(cl, out, err), c.status);
    EXPECT_EQ(err.str(), c.status == 2 ? c.err : "");
    EXPECT_EQ(c.status == 2 ? out.str() : Described(cl), c.status == 2 ? "" : c.err);
  }
}

// The option names a text's entries begin with: `entry` matches an entry
// and captures its first word, whose option name (up to '=') is taken.
std::set<std::string> Named(const std::string& text, const std::string& entry) {
  std::set<std::string> names;
  std::regex pattern(entry, std::regex::multiline);
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
    std::string word = (*it)[1];
    names.insert(word.substr(0, word.find('=')));
  }
  return names;
}

// --help, the man page's OPTIONS and the README's option table each have one
// entry for every option the parser takes, and none for any other.
TEST(CommandLine, EveryOptionIsDocumentedEverywhere) {
  const std::vector<std::string> names = OptionNames();
  const std::set<std::string> options(names.begin(), names.end());
  const std::string source = QUOVIS_TEST_DATA "/../../";
  std::string man =
      std::regex_replace(Slurp(source + "docs/quovis.1.in"), std::regex(R"(\\-)"), "-");
  man = man.substr(man.find(".SH OPTIONS"));
  man = man.substr(0, man.find(".SH ", 1));
  std::string readme = Slurp(source + "README.md");
  readme = readme.substr(readme.find("\n## Options\n"));
  readme = readme.substr(0, readme.find("\n#", 1));
  EXPECT_EQ(Named(UsageText(), R"(^  (-[-a-z0-9]+))"), options);
  // An entry is the line after ".TP"; BUS's own list under .RS is no option.
  EXPECT_EQ(Named(man, R"(^\.TP\n\.B[IR]? (-[-a-z0-9=]+))"), options);
  EXPECT_EQ(Named(readme, R"(^\| `(-[-a-z0-9=]+))"), options);
}

}  // namespace
