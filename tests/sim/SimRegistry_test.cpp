// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "bus/Bus.h"
#include "monitor/Codes.h"
#include "monitor/Detection.h"
#include "support/DriverReadings.h"
#include "support/FakeView.h"
#include "support/SimFixture.h"

namespace {

// The text between a file's two marker lines.
struct MarkedList {
  std::string path, begin, end;
  std::string text{}, before{}, after{};
  bool Read() {
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    const std::string s = all.str();
    size_t from = s.find(begin), to = s.find(end);
    if (from == std::string::npos || to == std::string::npos) return false;
    from = s.find('\n', from) + 1;
    before = s.substr(0, from), text = s.substr(from, to - from), after = s.substr(to);
    return true;
  }
  void Write(const std::string& list) const { std::ofstream(path) << before << list << after; }
};

// Words joined by spaces, in lines of at most 78 characters.
std::string Wrapped(const std::vector<std::string>& words) {
  std::string text, line;
  for (const auto& word : words) {
    if (!line.empty() && line.size() + 1 + word.size() > 78) text += line + "\n", line.clear();
    line += (line.empty() ? "" : " ") + word;
  }
  return text + line + "\n";
}

// The README's and the man page's lists of built-in boards are the registry's,
// in name order. QUOVIS_UPDATE_LISTS=1 rewrites them instead of comparing.
TEST(BoardLists, ReadmeAndManPageListTheBuiltInBoards) {
  const std::string root = QUOVIS_TEST_DATA "/../../";
  const std::vector<std::string> names = BuiltInBoardNames();
  std::vector<std::string> words = {"Built-in", "boards:"};
  std::string man;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string end = i + 1 < names.size() ? "," : ".";
    const std::string description = BoardDescription(names[i]);
    if (description.empty()) {
      words.push_back("`" + names[i] + "`" + end);
    } else {
      words.push_back("`" + names[i] + "`");
      words.push_back("(" + description + ")" + end);
    }
    std::string escaped;
    for (char c : names[i]) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
    man += ".BR " + escaped + " " + end + "\n";
  }
  const std::pair<MarkedList, std::string> lists[] = {
      {{root + "README.md", "<!-- built-in boards", "<!-- end of built-in boards"}, Wrapped(words)},
      {{root + "docs/quovis.1.in", ".\\\" built-in boards", ".\\\" end of built-in boards"}, man},
  };
  for (auto [list, expected] : lists) {
    ASSERT_TRUE(list.Read()) << list.path << " lacks its markers";
    if (std::getenv("QUOVIS_UPDATE_LISTS"))
      list.Write(expected);
    else
      EXPECT_EQ(list.text, expected) << list.path;
  }
}

// The driver detection finds on a simulated board, and what one poll of it shows.
struct Detected {
  FakeView view;
  Detection detection;
  int16_t reset = 1;
  explicit Detected(Bus& bus) : detection(BuiltInDrivers(bus, view)) {
    EXPECT_EQ(detection.Run(), 0);
  }
  Demodulator& driver() { return *detection.current(); }
  struct Reading {
    int16_t mode;
    float snr;
    std::vector<int16_t> locks, tps;
  };
  Reading Poll() {
    Reading r{driver().OperatingMode(), 0, {}, {}};
    int16_t mode = r.mode;
    float avg;
    int32_t color;
    r.snr = driver().SNR(mode, avg, color, reset);
    return {r.mode, r.snr, LocksOf(driver()), TpsOf(driver())};
  }
};

// A board file's registers hold still, and reading them changes nothing.
TEST(FileBoards, KeepTheirValues) {
  for (const std::string& chip : SimChipNames()) {
    if (!FindSimChip(chip)->builtInBoard) continue;
    FileBoard b(OneChip(chip));
    double now = 0;
    b.board->SetClock([&now] { return now; });
    Detected d(*b.bus);
    ASSERT_TRUE(d.detection.current()) << chip;
    auto first = d.Poll();
    for (now = 0; now < 60; now += 7) {
      auto r = d.Poll();
      EXPECT_EQ(std::pair(r.snr, r.tps), std::pair(first.snr, first.tps)) << chip;
    }
  }
  // The MxL111SF's statistics words are registers 0x100..0x104 of its model.
  FileBoard b(OneChip("mxl111sf", "\"0x103\": 2512, \"0x100\": \"0x80\""));
  Detected d(*b.bus);
  ASSERT_TRUE(d.detection.current());
  EXPECT_EQ(std::pair(d.Poll().snr, b.device(0x1C).GetRegister(0x103)), std::pair(25.1f, 2512L));
}

// The AU8522 model takes a write command of 0x80 | address bits 11..8, then
// bits 7..0, then the value.
TEST(SimModels, Au8522WriteCommandSetsItsTwelveBitRegister) {
  auto model = FindSimChip("au8522")->make(false);
  const uint8_t command[] = {0x83, 0x11, 0x5A};
  EXPECT_TRUE(model->Write(0, 0, command, 3));
  EXPECT_EQ(model->GetRegister(0x311), 0x5A);
}

}  // namespace
