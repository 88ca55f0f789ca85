// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/BoardFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/Startup.h"
#include "bus/Bus.h"
#include "monitor/Monitor.h"
#include "sim/SimRegistry.h"
#include "support/CommaLocale.h"

namespace {

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(BoardFile, ErrorsNameTheFileAndTheEntry) {
  struct Case {
    std::string json, error;
  } cases[] = {
      {"{\"devices\": [", "b.json: devices[0]: malformed JSON, line 1, column 14: "},
      {"[]", "b.json: expected an object"},
      {"{\"typo\": 1}", "b.json: typo: unknown entry"},
      {R"({"frontend": {"captured": {"status": -1}}})",
       "b.json: frontend.captured.status: expected a whole number from 0 to 4294967295"},
      {R"({"frontend": {"captured": {"stats": {"cnr": {"scale": "dB", "value": 1}}}}})",
       "b.json: frontend.captured.stats.cnr: expected {\"scale\": \"decibel\", \"relative\", "
       "\"counter\" or \"n/a\", \"value\": a whole number}"},
      {"{\"types\": [24, \"x\"]}", "b.json: types[1]: expected a board type from 1 to 32767"},
      {"{\"devices\": [{\"chip\": \"nosuch\"}]}",
       "b.json: devices[0].chip: unknown chip \"nosuch\""},
      {"{\"devices\": [{}]}", "b.json: devices[0].chip: expected a chip name"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"address\": \"0x33\"}]}",
       "b.json: devices[0].address: expected an 8-bit write address"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"address\": 512}]}",
       "b.json: devices[0].address: expected an 8-bit write address"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"registers\": {\"0xF1\": \"0x10000\"}}]}",
       "b.json: devices[0].registers.0xF1: value out of range"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"registers\": {\"0x100\": 0}}]}",
       "b.json: devices[0].registers.0x100: register out of range"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"registers\": {\"0xZZ\": 0}}]}",
       "b.json: devices[0].registers.0xZZ: register is not a number"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"registers\": {\"0x10\": 1.5}}]}",
       "b.json: devices[0].registers.0x10: value is not a number"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"fault\": {\"nak\": 1}}]}",
       "b.json: devices[0].fault.nak: expected true or false"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"fault\": {\"fail_first\": -1}}]}",
       "b.json: devices[0].fault.fail_first: expected a count"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"fault\": {\"fail_after\": -1}}]}",
       "b.json: devices[0].fault.fail_after: expected a count from 0 to 1000000"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"fault\": {\"fail_after\": 2.5}}]}",
       "b.json: devices[0].fault.fail_after: expected a count from 0 to 1000000"},
      {"{\"devices\": [{\"chip\": \"s5h1409\", \"fault\": {\"fail_after\": 1000001}}]}",
       "b.json: devices[0].fault.fail_after: expected a count from 0 to 1000000"},
      {R"({"devices": [{"chip": "s5h1409", "fault": {"unlocked_polls": [[3, 2]]}}]})",
       "b.json: devices[0].fault.unlocked_polls[0]: expected [[first, last], ...] polls"},
      {R"({"devices": [{"chip": "s5h1409", "fault": {"unlocked_polls": [[1, 1], [0, 2]]}}]})",
       "b.json: devices[0].fault.unlocked_polls[1]: expected [[first, last], ...] polls"},
      {R"({"devices": [{"chip": "s5h1409", "fault": {"unlocked_polls": [4, 5]}}]})",
       "b.json: devices[0].fault.unlocked_polls[0]: expected [[first, last], ...] polls"},
      {R"({"devices": [{"chip": "lgdt3305", "fault": {"unlocked_polls": [[1, 1]]}}]})",
       "b.json: devices[0].fault.unlocked_polls: this chip's model cannot drop its lock"},
      {"{\"devices\": [{\"chip\": \"s5h1409\"}, {\"chip\": \"s5h1409\"}]}",
       "b.json: devices[1].address: another device already sits at this address"},
      // The strict JSON reader's refusals (its own tests cover each kind)
      // come with the file and the entry it was in.
      {R"({"types": [24], "types": [18]})", "b.json: types: duplicate entry"},
      {R"({"types": [24]} x)", "b.json: malformed JSON, line 1, column 17: "},
      {"{\n  \"types\": [24,]\n}", "b.json: types[1]: malformed JSON, line 2, column 16: "},
      // Nothing after the document, not even behind a NUL byte.
      {std::string("{\"types\": [24]}\0garbage", 23),
       "b.json: malformed JSON, line 1, column 16: a NUL byte"},
      // One register in two spellings.
      {R"({"devices": [{"chip": "s5h1409", "registers": {"0xF1": 1, "0xf1": 2}}]})",
       "b.json: devices[0].registers.0xf1: the register of \"0xF1\" given again"},
      {R"({"devices": [{"chip": "s5h1409", "registers": {"241": 1, "0x00F1": 2}}]})",
       "b.json: devices[0].registers.0x00F1: the register of \"241\" given again"},
      // Number texts: digits after 0x, else decimal digits; no sign, no space.
      {R"({"devices": [{"chip": "s5h1409", "registers": {"0x-5": 0}}]})",
       "b.json: devices[0].registers.0x-5: register is not a number"},
      {R"({"devices": [{"chip": "s5h1409", "registers": {"0x10": " 5"}}]})",
       "b.json: devices[0].registers.0x10: value is not a number"},
      {R"({"devices": [{"chip": "s5h1409", "registers": {"0x10": "+5"}}]})",
       "b.json: devices[0].registers.0x10: value is not a number"},
      // A value from the file is quoted to 80 characters.
      {R"({"devices": [{"chip": ")" + std::string(200, 'c') + R"("}]})",
       "b.json: devices[0].chip: unknown chip \"" + std::string(80, 'c') +
           "\xE2\x80\xA6\" (known:"},
      {"{\"" + Repeat("\xC3\xA9", 81) + "\": 1}",  // characters, not bytes
       "b.json: " + Repeat("\xC3\xA9", 80) + "\xE2\x80\xA6: unknown entry"},
      {"\"" + std::string(200, 'q'),  // the reader counts the end as a column
       "b.json: malformed JSON, line 1, column 202: syntax error while parsing value - invalid "
       "string: missing closing quote; last read: '\"" +
           std::string(79, 'q') + "\xE2\x80\xA6'"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(ParseBoard(c.json, "b.json", error), nullptr) << c.json;
    EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.json;
  }
  std::string error;  // after the place, the reader's reason
  ParseBoard(R"({"types": [24]} x)", "b.json", error);
  EXPECT_NE(error.find("end of input"), std::string::npos) << error;
}

// Only a regular file of at most 1 MiB is read, a link followed to one; the
// reason is the system's own words where it has them. A FIFO or a device
// would hang the reader or feed it without end.
TEST(BoardFile, OnlyARegularFileOfAtMost1MiBIsRead) {
  namespace fs = std::filesystem;
  char folder[] = "/tmp/quovis_boardfile_XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  const fs::path dir = folder;
  const std::string board = R"({"devices": [{"chip": "s5h1409"}]})";
  std::ofstream(dir / "board.json") << board;
  std::ofstream(dir / "full.json") << board << std::string((1 << 20) - board.size(), ' ');
  std::ofstream(dir / "over.json") << board << std::string((1 << 20) - board.size() + 1, ' ');
  fs::create_directory(dir / "folder.json");
  fs::create_symlink("board.json", dir / "link.json");
  fs::create_symlink("loop.json", dir / "loop.json");
  fs::create_symlink("/dev/zero", dir / "zero.json");
  ASSERT_EQ(::mkfifo((dir / "fifo.json").c_str(), 0600), 0);
  const std::pair<std::string, std::string> cases[] = {
      {"board.json", ""},
      {"full.json", ""},
      {"link.json", ""},
      {"missing.json", "No such file or directory"},
      {"folder.json", "Is a directory"},
      {"loop.json", "Too many levels of symbolic links"},
      {"over.json", "larger than 1 MiB"},
      {"zero.json", "not a regular file"},
      {"fifo.json", "not a regular file"},
  };
  for (const auto& [name, why] : cases) {
    const std::string path = (dir / name).string();
    std::string error;
    auto loaded = LoadBoardFile(path, error);
    EXPECT_EQ(loaded != nullptr, why.empty()) << name << ": " << error;
    if (!why.empty()) {
      EXPECT_EQ(error, path + ": cannot read the board file: " + why);
    }
  }
  fs::remove_all(dir);
}

TEST(BoardFile, TypesRegistersAndFaultsTakeEffect) {
  std::string error;
  auto board = ParseBoard(
      "{\"types\": [18], \"devices\": [{\"chip\": \"s5h1409\", \"address\": 50,"
      " \"registers\": {\"0xF1\": \"0x82C0\", \"17\": 5}, \"fault\": {\"fail_first\": 2}}]}",
      "b.json", error);
  ASSERT_NE(board, nullptr) << error;
  EXPECT_EQ(board->velI2C_InitByType(24, 0), 0u);
  Bus bus(*board);
  bus.handle = board->velI2C_InitByType(18, 0);
  ASSERT_NE(bus.handle, 0u);
  EXPECT_EQ(bus.ReadReg16(0x32, 0xF1), int16_t(0x82C0));
  EXPECT_EQ(board->transactions(), 3);  // two failed attempts, then the answer
  EXPECT_EQ(bus.ReadReg16(0x32, 17), 5);

  // A device that vanishes: its first three transactions are answered,
  // every later one fails.
  auto vanishing = ParseBoard(
      "{\"devices\": [{\"chip\": \"s5h1409\", \"registers\": {\"0xF1\": \"0x1234\"},"
      " \"fault\": {\"fail_after\": 3}}]}",
      "b.json", error);
  ASSERT_NE(vanishing, nullptr) << error;
  Bus gone(*vanishing);
  gone.handle = vanishing->velI2C_InitByType(24, 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(gone.ReadReg16(0x32, 0xF1), 0x1234) << i;
  EXPECT_EQ(gone.failedReads, 0);
  EXPECT_EQ(gone.ReadReg16(0x32, 0xF1), -1);
  EXPECT_EQ(gone.ReadReg16(0x32, 0xF1), -1);
  EXPECT_EQ(gone.failedReads, 2);
  EXPECT_EQ(vanishing->transactions(), 3 + 2 * Bus::kReadAttempts);

  auto none = ParseBoard("{\"types\": []}", "b.json", error);
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->velI2C_InitByType(24, 0), 0u);
  EXPECT_EQ(none->velI2C_InitByType(18, 0), 0u);
}

// Each chip that can drop its lock loses it, through its driver, at the
// polls named and at no other, a live chip too.
TEST(BoardFile, UnlockedPollsDropTheLockThroughTheDriver) {
  for (const char* chip : {"s5h1409", "s5h1411", "zl10353"}) {
    SCOPED_TRACE(chip);
    std::string error;
    auto board = ParseBoard(std::string(R"({"devices": [{"chip": ")") + chip +
                                R"(", "fault": {"unlocked_polls": [[2, 3], [5, 5]]}}]})",
                            "b.json", error);
    ASSERT_NE(board, nullptr) << error;
    board->live = true;
    Bus bus(*board);
    Monitor monitor(false);
    Detection detection(BuiltInDrivers(bus, monitor));
    Startup startup = RunStartup({}, bus, detection, true);
    ASSERT_TRUE(startup.ok) << startup.message;
    monitor.SetDriver(startup.driver);
    monitor.WatchReads(&bus);
    std::string locks;
    for (int poll = 1; poll <= 6; ++poll) {
      monitor.Poll();
      board->PollEnded();
      locks += monitor.lastReading().locked() ? '+' : '-';
    }
    EXPECT_EQ(locks, "+--+-+");
  }
}

TEST(BoardFile, AWrongHandleOrAnEmptyAddressIsNotAcknowledged) {
  std::string error;
  auto board = ParseBoard("{\"devices\": [{\"chip\": \"s5h1409\"}]}", "b.json", error);
  ASSERT_NE(board, nullptr);
  uint32_t handle = board->velI2C_InitByType(24, 0);
  uint8_t buffer[2];
  EXPECT_NE(board->velI2C_ReadArray(handle + 1, 1, 0x32, 0xF1, 2, buffer), 0);
  EXPECT_NE(board->velI2C_ReadArray(handle, 1, 0x34, 0xF1, 2, buffer), 0);
  EXPECT_EQ(board->velI2C_ReadArray(handle, 1, 0x32, 0xF1, 2, buffer), 0);
}

}  // namespace

namespace {

TEST(BoardFile, AChipAtItsDefaultAddressBringsItsSecondAddress) {
  std::string error;
  auto board = ParseBoard(R"({"devices": [{"chip": "s5h1411"}]})", "b.json", error);
  ASSERT_NE(board, nullptr) << error;
  EXPECT_NE(board->DeviceAt(0x32), nullptr);
  EXPECT_NE(board->DeviceAt(0x34), nullptr);
  auto listed = ParseBoard(
      R"({"devices": [{"chip": "s5h1411"}, {"chip": "s5h1411_second", "address": "0x36"}]})",
      "b.json", error);
  ASSERT_NE(listed, nullptr) << error;
  EXPECT_EQ(listed->DeviceAt(0x34), nullptr);
  EXPECT_NE(listed->DeviceAt(0x36), nullptr);
  auto placed =
      ParseBoard(R"({"devices": [{"chip": "s5h1411", "address": "0x32"}]})", "b.json", error);
  ASSERT_NE(placed, nullptr) << error;
  EXPECT_EQ(placed->DeviceAt(0x34), nullptr);  // an explicit place is taken as given
  EXPECT_EQ(MakeBuiltInBoard("s5h1411_second", error), nullptr);
}

}  // namespace

namespace {

using BoardFileUnderCommaLocale = CommaLocale;

TEST_F(BoardFileUnderCommaLocale, NumbersWithAFractionOrExponentLoad) {
  std::string error;
  auto board = ParseBoard(
      "{\"types\": [24.0], \"devices\": [{\"chip\": \"s5h1409\", \"address\": 5.0e1,"
      " \"registers\": {\"0xF1\": 1.28e2, \"17\": 5.00}}]}",
      "b.json", error);
  ASSERT_NE(board, nullptr) << error;
  Bus bus(*board);
  bus.handle = board->velI2C_InitByType(24, 0);
  ASSERT_NE(bus.handle, 0u);
  EXPECT_EQ(bus.ReadReg16(0x32, 0xF1), 128);
  EXPECT_EQ(bus.ReadReg16(0x32, 17), 5);
  // A true fraction is still no register value, and the message says so.
  EXPECT_EQ(ParseBoard("{\"devices\": [{\"chip\": \"s5h1409\", \"registers\": {\"0x10\": 1.5}}]}",
                       "b.json", error),
            nullptr);
  EXPECT_EQ(error, "b.json: devices[0].registers.0x10: value is not a number");
}

}  // namespace
