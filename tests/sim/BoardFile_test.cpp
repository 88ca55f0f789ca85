// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/BoardFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/Startup.h"
#include "monitor/Monitor.h"
#include "sim/SimRegistry.h"
#include "support/CommaLocale.h"
#include "support/SimFixture.h"

namespace {

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

void ExpectRefused(const std::string& json, const std::string& error) {
  std::string got;
  EXPECT_EQ(ParseBoard(json, "b.json", got), nullptr) << json;
  EXPECT_EQ(got.substr(0, error.size() + 8), "b.json: " + error) << json;
}

TEST(BoardFile, ErrorsNameTheFileAndTheEntry) {
  const std::pair<std::string, std::string> documents[] = {
      {"{\"devices\": [", "devices[0]: malformed JSON, line 1, column 14: "},
      {"[]", "expected an object"},
      {"{\"typo\": 1}", "typo: unknown entry"},
      {R"({"frontend": {"captured": {"status": -1}}})",
       "frontend.captured.status: expected a whole number from 0 to 4294967295"},
      {R"({"frontend": {"captured": {"stats": {"cnr": {"scale": "dB", "value": 1}}}}})",
       "frontend.captured.stats.cnr: expected {\"scale\": \"decibel\", \"relative\", "
       "\"counter\" or \"n/a\", \"value\": a whole number}"},
      {R"({"frontend": {"signal_sign": 2}})", "frontend.signal_sign: expected 1 or -1"},
      {"{\"types\": [24, \"x\"]}", "types[1]: expected a board type from 1 to 32767"},
      {"{\"devices\": [{\"chip\": \"nosuch\"}]}", "devices[0].chip: unknown chip \"nosuch\""},
      {"{\"devices\": [{}]}", "devices[0].chip: expected a chip name"},
      {R"({"devices": [{"chip": "lgdt3305", "fault": {"unlocked_polls": [[1, 1]]}}]})",
       "devices[0].fault.unlocked_polls: this chip's model cannot drop its lock"},
      {"{\"devices\": [{\"chip\": \"s5h1409\"}, {\"chip\": \"s5h1409\"}]}",
       "devices[1].address: another device already sits at this address"},
      // The strict JSON reader's refusals come with the file and the entry it was in.
      {R"({"types": [24], "types": [18]})", "types: duplicate entry"},
      // Nothing after the document, not even behind a NUL byte.
      {std::string("{\"types\": [24]}\0garbage", 23),
       "malformed JSON, line 1, column 16: a NUL byte"},
      // A value from the file is quoted to 80 characters (not bytes).
      {"{\"" + Repeat("\xC3\xA9", 81) + "\": 1}",
       Repeat("\xC3\xA9", 80) + "\xE2\x80\xA6: unknown entry"},
      {"\"" + std::string(200, 'q'),  // the reader counts the end as a column
       "malformed JSON, line 1, column 202: syntax error while parsing value - invalid "
       "string: missing closing quote; last read: '\"" +
           std::string(79, 'q') + "\xE2\x80\xA6'"},
  };
  for (const auto& [json, error] : documents) ExpectRefused(json, error);

  // The entries of one s5h1409 device.
  const std::string count = "expected a count from 0 to 1000000",
                    polls = "]: expected [[first, last], ...] polls",
                    notANumber = ": value is not a number";
  const std::pair<std::string, std::string> entries[] = {
      {R"("address": "0x33")", "address: expected an 8-bit write address"},
      {R"("address": 512)", "address: expected an 8-bit write address"},
      {R"("registers": {"0xF1": "0x10000"})", "registers.0xF1: value out of range"},
      {R"("registers": {"0x100": 0})", "registers.0x100: register out of range"},
      {R"("registers": {"0xZZ": 0})", "registers.0xZZ: register is not a number"},
      {R"("fault": {"nak": 1})", "fault.nak: expected true or false"},
      {R"("fault": {"fail_after": -1})", "fault.fail_after: " + count},
      {R"("fault": {"fail_after": 2.5})", "fault.fail_after: " + count},
      {R"("fault": {"fail_after": 1000001})", "fault.fail_after: " + count},
      {R"("fault": {"unlocked_polls": [[3, 2]]})", "fault.unlocked_polls[0" + polls},
      {R"("fault": {"unlocked_polls": [[1, 1], [0, 2]]})", "fault.unlocked_polls[1" + polls},
      {R"("fault": {"unlocked_polls": [4, 5]})", "fault.unlocked_polls[0" + polls},
      // One register in two spellings; number texts: digits after 0x, else
      // decimal digits; no sign, no space.
      {R"("registers": {"241": 1, "0x00F1": 2})",
       "registers.0x00F1: the register of \"241\" given again"},
      {R"("registers": {"0x-5": 0})", "registers.0x-5: register is not a number"},
      {R"("registers": {"0x10": "+5"})", "registers.0x10" + notANumber},
  };
  for (const auto& [entry, error] : entries)
    ExpectRefused(R"({"devices": [{"chip": "s5h1409", )" + entry + "}]}", "devices[0]." + error);
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
  ASSERT_EQ(::mkfifo((dir / "fifo.json").c_str(), 0600), 0);
  const std::pair<std::string, std::string> cases[] = {
      {"board.json", ""},
      {"full.json", ""},
      {"link.json", ""},
      {"missing.json", "No such file or directory"},
      {"folder.json", "Is a directory"},
      {"over.json", "larger than 1 MiB"},
      {"fifo.json", "not a regular file"}};
  for (const auto& [name, why] : cases) {
    const std::string path = (dir / name).string();
    std::string error;
    EXPECT_EQ(LoadBoardFile(path, error) != nullptr, why.empty()) << name << ": " << error;
    EXPECT_EQ(error, why.empty() ? "" : path + ": cannot read the board file: " + why);
  }
  fs::remove_all(dir);
}

TEST(BoardFile, TypesRegistersAndFaultsTakeEffect) {
  FileBoard b(R"({"types": [18], "devices": [{"chip": "s5h1409", "address": 50,
      "registers": {"0xF1": "0x82C0", "17": 5}, "fault": {"fail_first": 2}}]})");
  EXPECT_EQ(b.bus->handle, 0u) << "type 24 is not listed";
  uint32_t handle = b.bus->handle = b.board->velI2C_InitByType(18, 0);
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(b.bus->ReadReg16(0x32, 0xF1), int16_t(0x82C0));
  EXPECT_EQ(b.board->transactions(), 3);  // two failed attempts, then the answer
  EXPECT_EQ(b.bus->ReadReg16(0x32, 17), 5);
  // A wrong handle or an empty address is not acknowledged.
  uint8_t buffer[2];
  EXPECT_NE(b.board->velI2C_ReadArray(handle + 1, 1, 0x32, 0xF1, 2, buffer), 0);
  EXPECT_NE(b.board->velI2C_ReadArray(handle, 1, 0x34, 0xF1, 2, buffer), 0);
  EXPECT_EQ(b.board->velI2C_ReadArray(handle, 1, 0x32, 0xF1, 2, buffer), 0);

  // A device that vanishes: its first three transactions are answered, every later one fails.
  FileBoard gone(R"({"devices": [{"chip": "s5h1409", "registers": {"0xF1": "0x1234"},
      "fault": {"fail_after": 3}}]})");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(gone.bus->ReadReg16(0x32, 0xF1), 0x1234) << i;
  EXPECT_EQ(gone.bus->failedReads, 0);
  EXPECT_EQ(gone.bus->ReadReg16(0x32, 0xF1), -1);
  EXPECT_EQ(gone.bus->ReadReg16(0x32, 0xF1), -1);
  EXPECT_EQ(gone.bus->failedReads, 2);
  EXPECT_EQ(gone.board->transactions(), 3 + 2 * Bus::kReadAttempts);

  FileBoard none(R"({"types": []})");
  EXPECT_EQ(none.bus->handle, 0u);
  EXPECT_EQ(none.board->velI2C_InitByType(18, 0), 0u);
}

// A chip at its default address brings its second address; an explicit place is taken as given.
TEST(BoardFile, AChipAtItsDefaultAddressBringsItsSecondAddress) {
  FileBoard own(R"({"devices": [{"chip": "s5h1411"}]})");
  FileBoard listed(
      R"({"devices": [{"chip": "s5h1411"}, {"chip": "s5h1411_second", "address": "0x36"}]})");
  FileBoard placed(R"({"devices": [{"chip": "s5h1411", "address": "0x32"}]})");
  auto at = [](FileBoard& b, int address) { return b.board->DeviceAt(address) != nullptr; };
  EXPECT_TRUE(at(own, 0x32) && at(own, 0x34));
  EXPECT_TRUE(!at(listed, 0x34) && at(listed, 0x36));
  EXPECT_TRUE(at(placed, 0x32) && !at(placed, 0x34));
  std::string error;
  EXPECT_EQ(MakeBuiltInBoard("s5h1411_second", error), nullptr);
}

using BoardFileUnderCommaLocale = CommaLocale;

// A true fraction is still no register value.
TEST_F(BoardFileUnderCommaLocale, NumbersWithAFractionOrExponentLoad) {
  FileBoard b(R"({"types": [24.0], "devices": [{"chip": "s5h1409", "address": 5.0e1,
      "registers": {"0xF1": 1.28e2, "17": 5.00}}]})");
  EXPECT_EQ(b.bus->ReadReg16(0x32, 0xF1), 128);
  EXPECT_EQ(b.bus->ReadReg16(0x32, 17), 5);
  ExpectRefused(R"({"devices": [{"chip": "s5h1409", "registers": {"0x10": 1.5}}]})",
                "devices[0].registers.0x10: value is not a number");
}

}  // namespace
