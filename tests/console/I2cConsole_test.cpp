#include "console/I2cConsole.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

#include "bus/Format.h"
#include "console/ConsoleInput.h"
#include "support/FakeI2c.h"
#include "support/SimFixture.h"

namespace {

using B = std::vector<uint8_t>;

struct RecordingView : ConsoleView {
  std::vector<std::string> log;
  std::map<ConsoleBox, std::vector<std::string>> boxes;  // every text written, in order
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
  I2cConsole console{bus, view};
  Console() { bus.handle = 7; }
  B data() const {
    return {console.DataBuf().begin(), console.DataBuf().begin() + console.DataCount()};
  }
  B sub() const {
    return {console.SubAddr().begin(), console.SubAddr().begin() + console.SubAddrCount()};
  }
};

std::string Tokens(int n) {
  std::string text = "1";
  for (int i = 1; i < n; ++i) text += " 1";
  return text;
}

TEST(I2cConsole, TokenRules) {
  using V = std::vector<std::string_view>;
  struct Case {
    std::string text;
    V tokens;
  } split[] = {{"", {""}},
               {"12 34", {"12", "34"}},
               {"12 ", {"12", ""}},
               {" 12", {"", "12"}},
               {"12  34", {"12", "", "34"}},
               {" ", {"", ""}},
               {"12\t34", {"12\t34"}}};
  for (const auto& c : split) EXPECT_EQ(SplitTokens(c.text), c.tokens) << '"' << c.text << '"';
  struct Hex {
    std::string token;
    std::optional<uint8_t> value;
  } hex[] = {{"1a", 0x1A},          {"1A", 0x1A},          {"", 0},
             {"0x12", 0},           {"12g", 0x12},         {"g1", 0},
             {"ff", 0xFF},          {"00000FF", 0xFF},     {"\t12", 0},
             {"100", std::nullopt}, {"1FF", std::nullopt}, {"FFFFFFFFFFFFFFFFFFFF", std::nullopt}};
  for (const auto& c : hex) EXPECT_EQ(HexByte(c.token), c.value) << '"' << c.token << '"';
}

TEST(I2cConsole, LeavingAddressAndReadCountBoxes) {
  // Entries start from address 32 and read count 33; a refused one keeps those.
  struct Case {
    bool address;
    std::string text;
    int value;
    std::string box;
  } cases[] = {{true, "0a", 0x0A, "A"},      {true, "", 0, "0"},
               {true, "0x32", 0, "0"},       {true, "12 34", 0x12, "12"},
               {true, "1FF", 0x32, "32"},    {false, "007", 7, "7"},
               {false, "abc", 0, "0"},       {false, "", 0, "0"},
               {false, "2.5", 2, "2"},       {false, "3.5", 4, "4"},
               {false, " +12x", 12, "12"},   {false, "-0.4", 0, "0"},
               {false, "256.5", 256, "256"}, {false, "0." + std::string(400, '0') + "1", 0, "0"},
               {false, "256.6", 33, "33"},   {false, "-1", 33, "33"},
               {false, "99999", 33, "33"},   {false, std::string(400, '9'), 33, "33"}};
  for (const auto& c : cases) {
    Console t;
    t.console.LeaveAddress("32");
    t.console.LeaveReadCount("33");
    c.address ? t.console.LeaveAddress(c.text) : t.console.LeaveReadCount(c.text);
    EXPECT_EQ(c.address ? t.console.Address() : t.console.ReadCount(), c.value) << c.text;
    EXPECT_EQ(t.view.box(c.address ? ConsoleBox::Address : ConsoleBox::ReadCount), c.box) << c.text;
    bool refused = c.value == (c.address ? 0x32 : 33);
    EXPECT_EQ(t.view.log.size(), refused ? 1u : 0u) << c.text;
    EXPECT_TRUE(t.fake.calls.empty());
  }
  Console t;
  t.console.LeaveAddress("1FF");
  t.console.LeaveReadCount("300");
  EXPECT_EQ(t.view.log,
            (std::vector<std::string>{
                "Address rejected: \"1FF\" is above FF; previous value kept",
                "Read Count rejected: \"300\" is outside 0 to 256; previous value kept"}));
}

TEST(I2cConsole, LeavingListBoxes) {
  struct Case {
    std::string text;
    std::optional<B> bytes;  // none: refused, the previous bytes 10 20 30 stay
  } cases[] = {{"", B{0}},
               {"12 ", B{0x12, 0}},
               {"12  34", B{0x12, 0, 0x34}},
               {" 1a 2B", B{0, 0x1A, 0x2B}},
               {Tokens(256), B(256, 1)},
               {Tokens(257), std::nullopt},
               {"12 1FF", std::nullopt}};
  for (bool data : {false, true}) {
    for (const auto& c : cases) {
      Console t;
      auto leave = [&](const std::string& text) {
        data ? t.console.LeaveData(text) : t.console.LeaveSubAddr(text);
      };
      ConsoleBox box = data ? ConsoleBox::Data : ConsoleBox::SubAddr;
      leave("10 20 30");
      leave(c.text);
      EXPECT_EQ(data ? t.data() : t.sub(), c.bytes.value_or(B{0x10, 0x20, 0x30})) << c.text;
      // Past the count the buffer is 0 again, nothing left from the longer list before.
      const auto& buffer = data ? t.console.DataBuf() : t.console.SubAddr();
      size_t count = data ? t.console.DataCount() : t.console.SubAddrCount();
      EXPECT_EQ(std::count(buffer.begin() + count, buffer.end(), 0), long(buffer.size() - count));
      EXPECT_EQ(t.view.log.size(), c.bytes ? 0u : 1u) << c.text;
      EXPECT_EQ(t.view.box(box), c.bytes ? "<untouched>" : "10 20 30") << c.text;
      EXPECT_TRUE(t.fake.calls.empty());
    }
  }
  Console t;
  t.console.LeaveData(Tokens(300));
  t.console.LeaveSubAddr("12 " + std::string(30, 'F'));
  EXPECT_EQ(t.view.log,
            (std::vector<std::string>{"Data rejected: 300 bytes, at most 256; previous value kept",
                                      "Subaddress rejected: \"" + std::string(24, 'F') +
                                          "...\" is above FF; previous value kept"}));
}

TEST(I2cConsole, EachCommandIsOneTransaction) {
  enum Command { Read, ReadNS, Write, WriteNS };
  using K = FakeI2c::Call::Kind;
  struct Case {
    Command command;
    std::string sub, data, readCount;
    uint8_t result;
    K kind;
    int callSub;  // as the fake records it: 16-bit register for a two-byte write-read
    B sent;
    std::string line, dataBox;
    int dataCount;
  } cases[] = {
      // clang-format off
      {Read, "10", "77 88", "2", 0, K::WriteRead, 0x10, {0x10},
       "Read  32 ( 10 ) 12 34 Returned 0", "12 34", 2},
      {Read, "10", "77 88", "0", 0, K::WriteRead, 0x10, {0x10},
       "Read  32 ( 10 )  Returned 0", "", 0},
      {Read, "10 1", "", "1", 0, K::WriteRead, 0x1001, {0x10, 1},
       "Read  32 ( 10 1 ) 56 Returned 0", "56", 1},
      // Bytes a failed read did not fill are 0, not what the data box held.
      {Read, "10", "77 88", "2", 0xAB, K::WriteRead, 0x10, {0x10},
       "Read  32 ( 10 ) 0 0 Returned AB", "0 0", 2},
      {ReadNS, "10", "77 88 99", "2", 0, K::Read, 0, {0x9A, 0xBC},
       "Read  32 9A BC Returned 0", " 9A BC", 3},
      {ReadNS, "10", "77 88 99", "0", 0, K::Read, 0, {},
       "Read  32 Returned 0", "", 3},
      {ReadNS, "10", "77 88 99", "1", 3, K::Read, 0, {0},
       "Read  32 0 Returned 3", " 0", 3},
      {Write, "10", "12 34", "1", 0, K::Write, 0, {0x10, 0x12, 0x34},
       "Write 32 ( 10 ) 12 34 Returned 0", "12 34", 2},
      {Write, "0 1", "1 a", "1", 0x1F, K::Write, 0, {0, 1, 1, 0xA},
       "Write 32 ( 0 1 ) 1 A Returned 1F", "1 A", 2},
      {WriteNS, "10", "12 34", "1", 0, K::Write, 0, {0x12, 0x34},
       "Write 32 12 34 Returned 0", "<untouched>", 2},
      {WriteNS, "10", "1 a", "1", 2, K::Write, 0, {1, 0xA},
       "Write 32 1 A Returned 2", "<untouched>", 2},
      // clang-format on
  };
  for (const auto& c : cases) {
    Console t;
    t.fake.readData = {{0x10, {0x12, 0x34}}, {0x1001, {0x56}}, {0, {0x9A, 0xBC}}};
    t.fake.results = {c.result};
    t.console.LeaveAddress("32");
    t.console.LeaveSubAddr(c.sub);
    t.console.LeaveData(c.data);
    t.console.LeaveReadCount(c.readCount);
    t.view.boxes.clear();
    void (I2cConsole::*run[])() = {&I2cConsole::Read, &I2cConsole::ReadNS, &I2cConsole::Write,
                                   &I2cConsole::WriteNS};
    (t.console.*run[c.command])();
    ASSERT_EQ(t.fake.calls.size(), 1u) << c.line;
    const auto& call = t.fake.calls[0];
    EXPECT_EQ(call.kind, c.kind) << c.line;
    EXPECT_EQ(call.handle, 7u);
    EXPECT_EQ(call.mode, 0);
    EXPECT_EQ(call.address, 0x32);
    EXPECT_EQ(call.sub, c.callSub) << c.line;
    EXPECT_EQ(call.count, c.kind == K::Write ? int(c.sent.size()) : t.console.ReadCount());
    EXPECT_EQ(call.bytes, c.sent) << c.line;  // what was written, or what a plain read gave
    EXPECT_EQ(t.fake.nonzeroReserved, 0);
    EXPECT_EQ(t.view.log, std::vector<std::string>{c.line});
    EXPECT_EQ(t.view.box(ConsoleBox::Data), c.dataBox) << c.line;
    EXPECT_EQ(t.console.DataCount(), c.dataCount) << c.line;
  }
}

TEST(I2cConsole, DataBoxCarriesOverToTheNextCommand) {
  Console t;
  t.fake.readData = {{0x10, {0x12, 0x34}}, {0, {0x12, 0x34}}};
  t.console.LeaveAddress("32");
  t.console.LeaveSubAddr("10");
  t.console.LeaveReadCount("2");
  t.console.Read();
  t.console.Write();  // the bytes just read go back behind the same sub-address
  ASSERT_EQ(t.fake.calls.size(), 2u);
  EXPECT_EQ(t.fake.calls[1].bytes, (B{0x10, 0x12, 0x34}));
  EXPECT_EQ(t.view.log.back(), "Write 32 ( 10 ) 12 34 Returned 0");
  t.console.ReadNS();  // its data text begins with a space, which reads as an extra 0
  t.console.LeaveData(t.view.box(ConsoleBox::Data));
  EXPECT_EQ(t.data(), (B{0, 0x12, 0x34}));
  // Both lists empty: a zero-byte read empties the data, the sub-address starts empty.
  Console e;
  e.console.LeaveAddress("32");
  e.console.LeaveReadCount("0");
  e.console.Read();
  e.console.Write();
  ASSERT_EQ(e.fake.calls.size(), 2u);
  EXPECT_EQ(e.fake.calls[1].count, 0);
  EXPECT_EQ(e.view.log.back(), "Write 32 (  )  Returned 0");
}

TEST(I2cConsole, WriteLongerThanTheBufferIsRefused) {
  Console t;
  t.console.LeaveSubAddr(Tokens(200));
  t.console.LeaveData(Tokens(56));
  t.console.Write();
  ASSERT_EQ(t.fake.calls.size(), 1u);
  EXPECT_EQ(t.fake.calls[0].count, 256);
  t.console.LeaveData(Tokens(57));
  t.console.Write();
  EXPECT_EQ(t.fake.calls.size(), 1u) << "nothing more reached the bus";
  EXPECT_EQ(
      t.view.log.back(),
      "Write rejected: 200 subaddress and 57 data bytes, at most 256 together; nothing written");
}

TEST(I2cConsole, ScanOfAnEmptyBus) {
  Console t;
  t.fake.fallback = 4;
  t.console.LeaveAddress("32");
  t.view.boxes.clear();
  int eventRuns = 0;
  t.console.Scan([&] { return ++eventRuns, true; });
  EXPECT_EQ(t.view.log, std::vector<std::string>{"Scanning I2C Addresses for devices"});
  ASSERT_EQ(t.fake.calls.size(), 127u);
  ASSERT_EQ(t.view.boxes[ConsoleBox::Address].size(), 127u);
  for (int i = 0; i < 127; ++i) {
    const auto& call = t.fake.calls[i];
    EXPECT_EQ(call.kind, FakeI2c::Call::Read);
    EXPECT_EQ(call.handle, 7u);
    EXPECT_EQ(call.mode, 0);
    EXPECT_EQ(call.address, 2 * i);
    EXPECT_EQ(call.sub, 0);
    EXPECT_EQ(call.count, 1);
    EXPECT_EQ(t.view.boxes[ConsoleBox::Address][i], Hex(2 * i));
  }
  EXPECT_EQ(t.view.box(ConsoleBox::Address), "FC");
  EXPECT_EQ(eventRuns, 127);
  EXPECT_EQ(t.console.Address(), 0x32) << "the scan only shows its progress";
  t.console.Scan([&] { return --eventRuns > 124; });  // the window went away on the third
  EXPECT_EQ(t.fake.calls.size(), 130u);
}

TEST(I2cConsole, ScanOfASimulatedBoard) {
  FileBoard b(
      "{\"devices\":[{\"chip\":\"s5h1409\",\"registers\":{\"0x00\":\"0x5A00\"}},"
      "{\"chip\":\"s5h1409\",\"address\":\"0xC0\"},"
      "{\"chip\":\"s5h1409\",\"address\":\"0x1C\",\"fault\":{\"nak\":true}}]}");
  RecordingView view;
  I2cConsole console(*b.bus, view);
  std::vector<long> transactionsAtEvents;
  console.Scan([&] { return transactionsAtEvents.push_back(b.board->transactions()), true; });
  EXPECT_EQ(view.log, (std::vector<std::string>{"Scanning I2C Addresses for devices",
                                                "Scan Read 32 5A", "Scan Read C0 0"}));
  ASSERT_EQ(transactionsAtEvents.size(), 127u);
  for (size_t i = 0; i < transactionsAtEvents.size(); ++i)
    EXPECT_EQ(transactionsAtEvents[i], long(i + 1)) << "one transaction between event runs";
  console.Clear();
  EXPECT_TRUE(view.log.empty());
  EXPECT_EQ(b.board->transactions(), 127);
}

}  // namespace
