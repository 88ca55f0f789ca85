// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/I2cConsole.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "numbers/Format.h"
#include "support/FakeI2c.h"

namespace {

using B = std::vector<uint8_t>;
using Lines = std::vector<std::string>;
using enum ConsoleBox;
using K = FakeI2c::Call::Kind;
using Boxes = std::vector<ConsoleBox>;
using Entries = std::vector<std::pair<ConsoleBox, std::string>>;

struct RecordingView : ConsoleView {
  Lines log;
  std::map<ConsoleBox, Lines> boxes;  // every text written, in order
  void AppendLog(const std::string& line) override { log.push_back(line); }
  void ClearLog() override { log.clear(); }
  void SetBoxText(ConsoleBox box, const std::string& text) override { boxes[box].push_back(text); }
  std::string box(ConsoleBox b) { return boxes[b].empty() ? "<untouched>" : boxes[b].back(); }
};

// Also counts write-reads whose reserved arguments were not all 0.
struct StrictFake : FakeI2c {
  int nonzeroReserved = 0;
  uint8_t velI2C_WriteRead(uint32_t h, int32_t address, int32_t r1, int32_t r2, int32_t writeCount,
                           uint8_t* writeBuffer, int32_t r3, int32_t r4, int32_t readCount,
                           uint8_t* readBuffer) override {
    nonzeroReserved += (r1 | r2 | r3 | r4) != 0;
    return FakeI2c::velI2C_WriteRead(h, address, r1, r2, writeCount, writeBuffer, r3, r4, readCount,
                                     readBuffer);
  }
};

struct Console {
  StrictFake fake;
  Bus bus{fake};
  RecordingView view;
  I2cConsole console;
  explicit Console(bool readOnly = false) : console(bus, view, readOnly) { bus.handle = 7; }
  void leave(ConsoleBox box, const std::string& text) {
    void (I2cConsole::*const leave[])(std::string_view) = {
        &I2cConsole::LeaveAddress, &I2cConsole::LeaveSubAddr, &I2cConsole::LeaveData,
        &I2cConsole::LeaveReadCount};
    (console.*leave[int(box)])(text);
  }
  void leave(const Entries& entries) {
    for (const auto& [box, text] : entries) leave(box, text);
  }
  // What the console holds for a box, as it would show it; `past` also
  // tells of nonzero list bytes past the count.
  std::string state(ConsoleBox box, bool past = false) const {
    if (box == Address) return Hex(console.Address());
    if (box == ReadCount) return std::to_string(console.ReadCount());
    const auto& bytes = box == Data ? console.DataBuf() : console.SubAddr();
    int count = box == Data ? console.DataCount() : console.SubAddrCount();
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? " " : "") + Hex(bytes[i]);
    bool stale = std::any_of(bytes.begin() + count, bytes.end(), [](uint8_t b) { return b; });
    return past && stale ? text + " and stale bytes" : text;
  }
};

std::string Tokens(int n) { return n > 1 ? Tokens(n - 1) + " 1" : "1"; }

// A list row is left in both list boxes.
TEST(I2cConsole, LeavingABoxReadsIt) {
  const std::map<ConsoleBox, std::string> before = {
      {Address, "32"}, {ReadCount, "33"}, {SubAddr, "10 20 30"}, {Data, "10 20 30"}};
  struct Case {
    ConsoleBox box;
    std::string text, state;  // a refused entry keeps the state from before
  } cases[] = {
      {Address, "0aF", "AF"},
      {Address, "", "0"},
      {Address, "0x12", "0"},
      {Address, "00000FF", "FF"},
      {Address, "100", "32"},
      {Address, "100000000", "32"},
      {ReadCount, "abc", "0"},
      {ReadCount, "2.5", "2"},
      {ReadCount, "3.5", "4"},
      {ReadCount, " +12x", "12"},
      {ReadCount, "-0.4", "0"},
      {ReadCount, "256.5", "256"},
      {ReadCount, "0." + std::string(400, '0') + "1", "0"},
      {ReadCount, "256.6", "33"},
      {ReadCount, "-1", "33"},
      {ReadCount, std::string(400, '9'), "33"},
      {Data, "", "0"},
      {Data, "12 ", "12 0"},
      {Data, " 12", "0 12"},
      {Data, "12  34", "12 0 34"},
      {Data, "12\t34", "12"},
      {Data, Tokens(256), Tokens(256)},
      {Data, Tokens(257), "10 20 30"},
      {Data, "12 1FF", "10 20 30"},
  };
  for (const auto& c : cases)
    for (ConsoleBox box : c.box == Data ? Boxes{Data, SubAddr} : Boxes{c.box}) {
      Console t;
      for (const auto& [b, text] : before) t.leave(b, text);
      t.view.boxes.clear();
      t.leave(box, c.text);
      bool refused = c.state == before.at(box), list = box == Data || box == SubAddr;
      EXPECT_EQ(t.state(box, true), c.state) << c.text;
      EXPECT_EQ(t.view.box(box), refused || !list ? t.state(box) : "<untouched>") << c.text;
      EXPECT_EQ(t.view.log.size(), refused ? 1u : 0u) << c.text;
      EXPECT_TRUE(t.fake.calls.empty());
    }
  Console t;
  t.leave({{Address, "100"},
           {ReadCount, "300"},
           {Data, Tokens(300)},
           {SubAddr, "12 " + std::string(30, 'F')}});
  EXPECT_EQ(t.view.log, (Lines{"Address rejected: \"100\" is above FF; previous value kept",
                               "Read Count rejected: \"300\" is outside 0 to 256; previous value "
                               "kept",
                               "Data rejected: 300 bytes, at most 256; previous value kept",
                               "Subaddress rejected: \"" + std::string(24, 'F') +
                                   "...\" is above FF; previous value kept"}));
}

TEST(I2cConsole, EachCommandIsOneTransaction) {
  enum Command { Read, ReadNS, Write, WriteNS };
  const K kinds[] = {K::WriteRead, K::Read, K::Write, K::Write};
  void (I2cConsole::*const run[])() = {&I2cConsole::Read, &I2cConsole::ReadNS, &I2cConsole::Write,
                                       &I2cConsole::WriteNS};
  struct Case {
    Command command;
    std::string sub, typed, readCount;
    uint8_t result;
    B bytes;  // what was written, or what a plain read gave
    std::string line, dataBox, data;
  } cases[] = {
      {Read, "10", "77 88", "2", 0, {0x10}, "Read  32 ( 10 ) 12 34 Returned 0", "12 34", "12 34"},
      {Read, "10", "77 88", "0", 0, {0x10}, "Read  32 ( 10 )  Returned 0", "", ""},
      {Read, "10 1", "", "1", 0, {0x10, 1}, "Read  32 ( 10 1 ) 56 Returned 0", "56", "56"},
      // Bytes a failed read did not fill are 0, not what the data box held.
      {Read, "10", "77 88", "2", 0xAB, {0x10}, "Read  32 ( 10 ) 0 0 Returned AB", "0 0", "0 0"},
      {ReadNS, "", "7 8 9", "2", 0, {9, 0xB}, "Read  32 9 B Returned 0", " 9 B", "9 B 9"},
      {ReadNS, "", "7 8 9", "0", 0, {}, "Read  32 Returned 0", "", "7 8 9"},
      {ReadNS, "", "7 8 9", "1", 3, {0}, "Read  32 0 Returned 3", " 0", "0 8 9"},
      {Write, "0 1", "a", "", 0x1F, {0, 1, 0xA}, "Write 32 ( 0 1 ) A Returned 1F", "A", "A"},
      {WriteNS, "10", "1 a", "", 2, {1, 0xA}, "Write 32 1 A Returned 2", "<untouched>", "1 A"},
  };
  for (const auto& c : cases) {
    Console t;
    t.fake.readData = {{0x10, {0x12, 0x34}}, {0x1001, {0x56}}, {0, {9, 0xB}}};
    t.fake.results = {c.result};
    t.leave({{Address, "32"}, {SubAddr, c.sub}, {Data, c.typed}, {ReadCount, c.readCount}});
    t.view.boxes.clear();
    (t.console.*run[c.command])();
    ASSERT_EQ(t.fake.calls.size(), 1u) << c.line;
    const auto& call = t.fake.calls[0];
    // A write-read has no sub-address argument: the fake records the bytes written as one.
    int sub = call.kind == K::WriteRead ? call.sub : 0;
    int count = call.kind == K::Write ? int(c.bytes.size()) : t.console.ReadCount();
    EXPECT_EQ(std::tie(call.kind, call.handle, call.mode, call.address, call.sub, call.count),
              std::make_tuple(kinds[c.command], 7u, 0, 0x32, sub, count))
        << c.line;
    EXPECT_EQ(call.bytes, c.bytes) << c.line;
    EXPECT_EQ(t.fake.nonzeroReserved, 0);
    EXPECT_EQ(t.view.log, Lines{c.line});
    EXPECT_EQ(t.view.box(Data), c.dataBox) << c.line;
    EXPECT_EQ(t.state(Data), c.data) << c.line;
  }
}

TEST(I2cConsole, DataBoxCarriesOverToTheNextCommand) {
  Console t;
  t.fake.readData = {{0, {0x12, 0x34}}};
  t.leave(ReadCount, "2");
  t.console.ReadNS();  // its data text begins with a space, which reads as an extra 0
  t.leave(Data, t.view.box(Data));
  EXPECT_EQ(t.state(Data), "0 12 34");
  // Both lists empty: a zero-byte read empties the data, the sub-address starts empty.
  Console e;
  e.leave(ReadCount, "0");
  e.console.Read();
  e.console.Write();
  ASSERT_EQ(e.fake.calls.size(), 2u);
  EXPECT_TRUE(e.fake.calls[0].bytes.empty()) << "no sub-address bytes written";
  EXPECT_EQ(e.fake.calls[1].count, 0);
  EXPECT_EQ(e.view.log, (Lines{"Read  0 (  )  Returned 0", "Write 0 (  )  Returned 0"}));
  // More than the buffer together is refused before it reaches the bus.
  e.leave({{SubAddr, Tokens(200)}, {Data, Tokens(56)}});
  e.console.Write();
  e.leave(Data, Tokens(57));
  e.console.Write();
  ASSERT_EQ(e.fake.calls.size(), 3u);
  EXPECT_EQ(e.fake.calls[2].count, 256);
  EXPECT_EQ(
      e.view.log.back(),
      "Write rejected: 200 subaddress and 57 data bytes, at most 256 together; nothing written");
}

// Read-only, the two writes send nothing and say so; the reads run as always.
TEST(I2cConsole, ReadOnlyRefusesTheWritesAndStillReads) {
  Console t(true);
  t.leave({{Address, "32"}, {SubAddr, "10"}, {Data, "1 a"}, {ReadCount, "2"}});
  t.view.boxes.clear();
  t.console.Write();
  t.console.WriteNS();
  EXPECT_EQ(t.view.log, (Lines{"Write refused: read-only mode, nothing sent to the bus",
                               "Write N/S refused: read-only mode, nothing sent to the bus"}));
  EXPECT_TRUE(t.fake.calls.empty());
  EXPECT_TRUE(t.view.boxes.empty()) << "a refused write normalises no box";
  t.console.Read();
  t.console.ReadNS();
  EXPECT_EQ(t.fake.calls.size(), 2u);
}

// Devices answer at 32 and C0 only; after each address the window's events run.
TEST(I2cConsole, ScanTriesEveryEvenAddressOnce) {
  Console t;
  t.fake.results.assign(127, 4);
  t.fake.results[0x32 / 2] = t.fake.results[0xC0 / 2] = 0;
  t.fake.fallback = 4;
  t.fake.readData[0] = {0x5A};
  t.leave(Address, "32");
  t.view.boxes.clear();
  std::vector<size_t> callsAtEvents;
  t.console.Scan([&] { return callsAtEvents.push_back(t.fake.calls.size()), true; });
  EXPECT_EQ(t.view.log,
            (Lines{"Scanning I2C Addresses for devices", "Scan Read 32 5A", "Scan Read C0 5A"}));
  Lines shown;
  std::vector<size_t> afterEach;  // one transaction between event runs
  for (int i = 0; i < 127; ++i) {
    shown.push_back(Hex(2 * i));
    afterEach.push_back(i + 1);
    const auto& call = t.fake.calls.at(i);
    EXPECT_EQ(std::tie(call.kind, call.handle, call.mode, call.address, call.sub, call.count),
              std::make_tuple(K::Read, 7u, 0, 2 * i, 0, 1));
  }
  EXPECT_EQ(t.view.boxes[Address], shown);
  EXPECT_EQ(callsAtEvents, afterEach);
  EXPECT_EQ(t.console.Address(), 0x32) << "the scan only shows its progress";
  // Now nothing answers: only the header; the window goes away on the third address.
  int eventRuns = 0;
  t.console.Scan([&] { return ++eventRuns < 3; });
  EXPECT_EQ(t.fake.calls.size(), 130u);
  EXPECT_EQ(t.view.log.size(), 4u);
  t.console.Clear();
  EXPECT_TRUE(t.view.log.empty());
}

}  // namespace
