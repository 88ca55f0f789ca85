#include "console/I2cConsole.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bus/Format.h"
#include "console/ConsoleInput.h"
#include "support/FakeI2c.h"
#include "support/SimFixture.h"

namespace {

struct RecordingView : ConsoleView {
  std::vector<std::string> log;
  std::map<ConsoleBox, std::vector<std::string>> boxes;  // every text written, in order
  void AppendLog(const std::string& line) override { log.push_back(line); }
  void ClearLog() override { log.clear(); }
  void SetBoxText(ConsoleBox box, const std::string& text) override { boxes[box].push_back(text); }
  std::string box(ConsoleBox b) { return boxes[b].empty() ? "<untouched>" : boxes[b].back(); }
};

// Also checks the reserved arguments that the shared fake does not record.
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
  std::vector<uint8_t> data() const {
    return {console.DataBuf().begin(), console.DataBuf().begin() + console.DataCount()};
  }
  std::vector<uint8_t> sub() const {
    return {console.SubAddr().begin(), console.SubAddr().begin() + console.SubAddrCount()};
  }
};

std::string Tokens(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += i ? " 1" : "1";
  return text;
}

TEST(I2cConsole, TokensSplitAtEverySingleSpace) {
  using V = std::vector<std::string_view>;
  struct Case {
    std::string text;
    V tokens;
  } cases[] = {
      {"", {""}},
      {"12 34", {"12", "34"}},
      {"12 ", {"12", ""}},
      {" 12", {"", "12"}},
      {"12  34", {"12", "", "34"}},
      {" ", {"", ""}},
      {"12\t34", {"12\t34"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitTokens(c.text), c.tokens) << '"' << c.text << '"';
}

TEST(I2cConsole, HexTokenTakesLeadingDigits) {
  struct Case {
    std::string token;
    std::optional<uint8_t> value;
  } cases[] = {
      {"1a", 0x1A},
      {"1A", 0x1A},
      {"", 0},
      {"0x12", 0},
      {"12g", 0x12},
      {"g1", 0},
      {"FF", 0xFF},
      {"ff", 0xFF},
      {"00000FF", 0xFF},
      {"\t12", 0},
      {"100", std::nullopt},
      {"1FF", std::nullopt},
      {"FFFFFFFFFFFFFFFFFFFF", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(HexByte(c.token), c.value) << '"' << c.token << '"';
}

TEST(I2cConsole, LeavingReadCountBox) {
  struct Case {
    std::string text;
    int16_t readCount;  // 33 marks a refused entry: the previous value stays
    std::string box;
  } cases[] = {
      {"007", 7, "7"},
      {"abc", 0, "0"},
      {"", 0, "0"},
      {"2.5", 2, "2"},
      {"3.5", 4, "4"},
      {"1.4", 1, "1"},
      {" 12", 12, "12"},
      {"+5", 5, "5"},
      {"12abc", 12, "12"},
      {"-0.4", 0, "0"},
      {".5", 0, "0"},
      {"256", 256, "256"},
      {"256.5", 256, "256"},
      {"0." + std::string(400, '0') + "1", 0, "0"},
      {"257", 33, "33"},
      {"256.6", 33, "33"},
      {"-1", 33, "33"},
      {"99999", 33, "33"},
      {std::string(400, '9'), 33, "33"},
  };
  for (const auto& c : cases) {
    Console t;
    t.console.LeaveReadCount("33");
    t.view.log.clear();
    t.console.LeaveReadCount(c.text);
    EXPECT_EQ(t.console.ReadCount(), c.readCount) << c.text;
    EXPECT_EQ(t.view.box(ConsoleBox::ReadCount), c.box) << c.text;
    EXPECT_EQ(t.view.log.size(), c.readCount == 33 ? 1u : 0u) << c.text;
    EXPECT_TRUE(t.fake.calls.empty());
  }
}

TEST(I2cConsole, LeavingAddressBox) {
  struct Case {
    std::string text;
    uint8_t address;  // 0x32 marks a refused entry
    std::string box;
  } cases[] = {
      {"0a", 0x0A, "A"},     {"", 0, "0"},       {"c0", 0xC0, "C0"},  {"0x32", 0, "0"},
      {"12 34", 0x12, "12"}, {"33", 0x33, "33"}, {"1FF", 0x32, "32"}, {"100", 0x32, "32"},
  };
  for (const auto& c : cases) {
    Console t;
    t.console.LeaveAddress("32");
    t.console.LeaveAddress(c.text);
    EXPECT_EQ(t.console.Address(), c.address) << c.text;
    EXPECT_EQ(t.view.box(ConsoleBox::Address), c.box) << c.text;
    if (c.address == 0x32)
      EXPECT_EQ(t.view.log, std::vector<std::string>{"Address rejected: \"" + c.text +
                                                     "\" is above FF; previous value kept"});
    else
      EXPECT_TRUE(t.view.log.empty()) << c.text;
    EXPECT_TRUE(t.fake.calls.empty());
  }
}

TEST(I2cConsole, LeavingListBoxes) {
  using B = std::vector<uint8_t>;
  struct Case {
    std::string text;
    std::optional<B> bytes;  // empty: refused, the previous bytes 10 20 30 stay
  } cases[] = {
      {"", B{0}},
      {"12 ", B{0x12, 0}},
      {"12  34", B{0x12, 0, 0x34}},
      {" 12", B{0, 0x12}},
      {"1a 2B ff", B{0x1A, 0x2B, 0xFF}},
      {"0x12 12g", B{0, 0x12}},
      {Tokens(256), B(256, 1)},
      {Tokens(257), std::nullopt},
      {"12 1FF", std::nullopt},
  };
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
      if (c.bytes) {
        EXPECT_TRUE(t.view.log.empty()) << c.text;
        EXPECT_TRUE(t.view.boxes[box].empty()) << "box left as typed: " << c.text;
      } else {
        ASSERT_EQ(t.view.log.size(), 1u) << c.text;
        EXPECT_EQ(t.view.log[0].rfind(data ? "Data rejected: " : "Subaddress rejected: ", 0), 0u);
        EXPECT_EQ(t.view.box(box), "10 20 30") << c.text;
      }
      EXPECT_TRUE(t.fake.calls.empty());
    }
  }
  Console t;
  t.console.LeaveData(Tokens(300));
  EXPECT_EQ(t.view.log.back(), "Data rejected: 300 bytes, at most 256; previous value kept");
  t.console.LeaveSubAddr("12 " + std::string(30, 'F'));
  EXPECT_EQ(t.view.log.back(), "Subaddress rejected: \"" + std::string(24, 'F') +
                                   "...\" is above FF; previous value kept");
}

TEST(I2cConsole, ReadIsOneWriteReadThroughTheSubaddress) {
  struct Case {
    std::string sub, readCount;
    uint8_t result;
    std::string line, dataBox;
  } cases[] = {
      {"10", "2", 0, "Read  32 ( 10 ) 12 34 Returned 0", "12 34"},
      {"10", "0", 0, "Read  32 ( 10 )  Returned 0", ""},
      {"10 1", "1", 0, "Read  32 ( 10 1 ) 12 Returned 0", "12"},
      // A failed read shows zeros where the old data box held 77 88.
      {"10", "2", 0xAB, "Read  32 ( 10 ) 0 0 Returned AB", "0 0"},
  };
  for (const auto& c : cases) {
    Console t;
    t.fake.readData[0x10] = {0x12, 0x34};
    t.fake.readData[0x1001] = {0x12};
    t.fake.results = {c.result};
    t.console.LeaveAddress("32");
    t.console.LeaveSubAddr(c.sub);
    t.console.LeaveData("77 88");
    t.console.LeaveReadCount(c.readCount);
    t.console.Read();
    ASSERT_EQ(t.fake.calls.size(), 1u) << c.line;
    const auto& call = t.fake.calls[0];
    EXPECT_EQ(call.kind, FakeI2c::Call::WriteRead);
    EXPECT_EQ(call.handle, 7u);
    EXPECT_EQ(call.address, 0x32);
    EXPECT_EQ(call.bytes, t.sub());
    EXPECT_EQ(call.count, t.console.ReadCount());
    EXPECT_EQ(t.fake.nonzeroReserved, 0);
    EXPECT_EQ(t.view.log, std::vector<std::string>{c.line});
    EXPECT_EQ(t.view.box(ConsoleBox::Data), c.dataBox);
    EXPECT_EQ(t.console.DataCount(), t.console.ReadCount());
  }
}

TEST(I2cConsole, WriteAfterReadSendsTheSameBytesBack) {
  Console t;
  t.fake.readData[0x10] = {0x12, 0x34};
  t.console.LeaveAddress("32");
  t.console.LeaveSubAddr("10");
  t.console.LeaveReadCount("2");
  t.console.Read();
  t.console.Write();
  ASSERT_EQ(t.fake.calls.size(), 2u);
  const auto& write = t.fake.calls[1];
  EXPECT_EQ(write.kind, FakeI2c::Call::Write);
  EXPECT_EQ(write.handle, 7u);
  EXPECT_EQ(write.mode, 0);
  EXPECT_EQ(write.address, 0x32);
  EXPECT_EQ(write.sub, 0);
  EXPECT_EQ(write.count, 3);
  EXPECT_EQ(write.bytes, (std::vector<uint8_t>{0x10, 0x12, 0x34}));
  EXPECT_EQ(t.view.log.back(), "Write 32 ( 10 ) 12 34 Returned 0");
}

TEST(I2cConsole, ReadNSIsOnePlainRead) {
  struct Case {
    std::string readCount;
    uint8_t result;
    std::string line, dataBox;
  } cases[] = {
      {"2", 0, "Read  32 12 34 Returned 0", " 12 34"},
      {"0", 0, "Read  32 Returned 0", ""},
      {"1", 3, "Read  32 0 Returned 3", " 0"},
  };
  for (const auto& c : cases) {
    Console t;
    t.fake.readData[0] = {0x12, 0x34};
    t.fake.results = {c.result};
    t.console.LeaveAddress("32");
    t.console.LeaveSubAddr("10");
    t.console.LeaveData("77 88 99");
    t.console.LeaveReadCount(c.readCount);
    t.console.ReadNS();
    ASSERT_EQ(t.fake.calls.size(), 1u) << c.line;
    const auto& call = t.fake.calls[0];
    EXPECT_EQ(call.kind, FakeI2c::Call::Read);
    EXPECT_EQ(call.handle, 7u);
    EXPECT_EQ(call.mode, 0);
    EXPECT_EQ(call.address, 0x32);
    EXPECT_EQ(call.sub, 0);
    EXPECT_EQ(call.count, t.console.ReadCount());
    EXPECT_EQ(t.view.log, std::vector<std::string>{c.line});
    EXPECT_EQ(t.view.box(ConsoleBox::Data), c.dataBox);
    EXPECT_EQ(t.console.DataCount(), 3) << "unchanged by a plain read";
  }
  // The data box now begins with a space, which reads as an extra 0 byte.
  Console t;
  t.fake.readData[0] = {0x12, 0x34};
  t.console.LeaveReadCount("2");
  t.console.ReadNS();
  t.console.LeaveData(t.view.box(ConsoleBox::Data));
  EXPECT_EQ(t.data(), (std::vector<uint8_t>{0, 0x12, 0x34}));
}

TEST(I2cConsole, WritesAreOnePlainWrite) {
  using B = std::vector<uint8_t>;
  struct Case {
    bool ns;
    std::string sub, data;
    uint8_t result;
    B sent;
    std::string line, dataBox;
  } cases[] = {
      {false, "10", "12 34", 0, {0x10, 0x12, 0x34}, "Write 32 ( 10 ) 12 34 Returned 0", "12 34"},
      {false, "10", "1 a", 0x1F, {0x10, 1, 0xA}, "Write 32 ( 10 ) 1 A Returned 1F", "1 A"},
      {false, "0 1", "", 0, {0, 1, 0}, "Write 32 ( 0 1 ) 0 Returned 0", "0"},
      {true, "10", "12 34", 0, {0x12, 0x34}, "Write 32 12 34 Returned 0", "<untouched>"},
      {true, "10", "1 a", 2, {1, 0xA}, "Write 32 1 A Returned 2", "<untouched>"},
  };
  for (const auto& c : cases) {
    Console t;
    t.fake.results = {c.result};
    t.console.LeaveAddress("32");
    t.console.LeaveSubAddr(c.sub);
    t.console.LeaveData(c.data);
    c.ns ? t.console.WriteNS() : t.console.Write();
    ASSERT_EQ(t.fake.calls.size(), 1u) << c.line;
    const auto& call = t.fake.calls[0];
    EXPECT_EQ(call.kind, FakeI2c::Call::Write);
    EXPECT_EQ(call.handle, 7u);
    EXPECT_EQ(call.mode, 0);
    EXPECT_EQ(call.address, 0x32);
    EXPECT_EQ(call.sub, 0);
    EXPECT_EQ(call.count, int(c.sent.size()));
    EXPECT_EQ(call.bytes, c.sent) << c.line;
    EXPECT_EQ(t.view.log, std::vector<std::string>{c.line});
    EXPECT_EQ(t.view.box(ConsoleBox::Data), c.dataBox);
  }
}

TEST(I2cConsole, WriteWithBothCountsZero) {
  // Both lists empty is only reachable through a zero-byte read before it.
  Console t;
  t.console.LeaveAddress("32");
  t.console.LeaveReadCount("0");
  t.console.Read();  // DataCount 0, SubAddrCount still 0 from the start
  t.console.Write();
  ASSERT_EQ(t.fake.calls.size(), 2u);
  EXPECT_EQ(t.fake.calls[1].kind, FakeI2c::Call::Write);
  EXPECT_EQ(t.fake.calls[1].count, 0);
  EXPECT_EQ(t.view.log.back(), "Write 32 (  )  Returned 0");
}

TEST(I2cConsole, WriteLongerThanTheBufferIsRefused) {
  for (int sub : {200, 100}) {
    Console t;
    t.console.LeaveSubAddr(Tokens(sub));
    t.console.LeaveData(Tokens(256 - sub));
    t.console.Write();
    ASSERT_EQ(t.fake.calls.size(), 1u);
    EXPECT_EQ(t.fake.calls[0].count, 256);
    t.console.LeaveData(Tokens(257 - sub));
    t.console.Write();
    EXPECT_EQ(t.fake.calls.size(), 1u) << "nothing more reached the bus";
    EXPECT_EQ(t.view.log.back(), "Write rejected: " + std::to_string(sub) + " subaddress and " +
                                     std::to_string(257 - sub) +
                                     " data bytes, at most 256 together; nothing written");
  }
}

TEST(I2cConsole, FailuresAreNeverRetried) {
  Console t;
  t.fake.fallback = 1;
  t.console.Read();
  t.console.ReadNS();
  t.console.Write();
  t.console.WriteNS();
  EXPECT_EQ(t.fake.calls.size(), 4u);
  EXPECT_EQ(t.view.log.back(), "Write 0 0 Returned 1");
}

TEST(I2cConsole, ScanOfAnEmptyBus) {
  Console t;
  t.fake.fallback = 4;
  t.console.LeaveAddress("32");
  int eventRuns = 0;
  t.console.Scan([&] { return ++eventRuns, true; });
  EXPECT_EQ(t.view.log, std::vector<std::string>{"Scanning I2C Addresses for devices"});
  ASSERT_EQ(t.fake.calls.size(), 127u);
  std::vector<std::string> shown(t.view.boxes[ConsoleBox::Address].begin() + 1,
                                 t.view.boxes[ConsoleBox::Address].end());
  ASSERT_EQ(shown.size(), 127u);
  for (int i = 0; i < 127; ++i) {
    const auto& call = t.fake.calls[i];
    EXPECT_EQ(call.kind, FakeI2c::Call::Read);
    EXPECT_EQ(call.handle, 7u);
    EXPECT_EQ(call.mode, 0);
    EXPECT_EQ(call.address, 2 * i);
    EXPECT_EQ(call.sub, 0);
    EXPECT_EQ(call.count, 1);
    EXPECT_EQ(shown[i], Hex(2 * i));
  }
  EXPECT_EQ(shown.back(), "FC");
  EXPECT_EQ(eventRuns, 127);
  EXPECT_EQ(t.console.Address(), 0x32) << "the scan only shows its progress";
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
}

TEST(I2cConsole, ScanStopsWhenTheWindowGoesAway) {
  Console t;
  int eventRuns = 0;
  t.console.Scan([&] { return ++eventRuns < 3; });
  EXPECT_EQ(t.fake.calls.size(), 3u);
}

TEST(I2cConsole, ClearEmptiesOnlyTheLog) {
  Console t;
  t.console.LeaveAddress("32");
  t.console.LeaveData("12 34");
  t.console.WriteNS();
  t.console.Clear();
  EXPECT_TRUE(t.view.log.empty());
  EXPECT_EQ(t.console.Address(), 0x32);
  EXPECT_EQ(t.data(), (std::vector<uint8_t>{0x12, 0x34}));
  EXPECT_EQ(t.fake.calls.size(), 1u);
}

}  // namespace
