// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/LinuxI2cLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "support/EmulatedI2cDev.h"

namespace {

using Sent = EmulatedI2cDev::Sent;
constexpr uint16_t RD = I2C_M_RD;

struct OpenedBus : ::testing::Test {
  EmulatedI2cDev kernel;
  LinuxI2cLibrary lib{kernel};
  uint32_t handle = 0;
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(lib.Open("/dev/i2c-3", error)) << error;
    handle = lib.velI2C_InitByType(24, 0);
    ASSERT_NE(handle, 0u);
  }
};

// One library call: a write (with sub-address in mode 1), a read, or a
// write-read of `out` then `count` bytes.
struct Request {
  enum { Write, Read, WriteRead } kind;
  int32_t mode, address, sub, count;
  std::vector<uint8_t> out = {};
};

uint8_t Send(LinuxI2cLibrary& lib, uint32_t handle, Request r, uint8_t* in) {
  auto written = int32_t(r.out.size());
  switch (r.kind) {
    case Request::Write:
      return lib.velI2C_WriteArray(handle, r.mode, r.address, r.sub, r.count, r.out.data());
    case Request::Read: return lib.velI2C_ReadArray(handle, r.mode, r.address, r.sub, r.count, in);
    case Request::WriteRead:
      return lib.velI2C_WriteRead(handle, r.address, 0, 0, written, r.out.data(), 0, 0, r.count,
                                  in);
  }
  return 0xFF;
}

TEST_F(OpenedBus, EachCallBecomesTheKernelMessagesInOrder) {
  const auto W = Request::Write, R = Request::Read, WR = Request::WriteRead;
  const std::vector<uint8_t> big(8192, 0x5A);
  struct Case {
    const char* name;
    Request request;
    std::vector<Sent> messages;
    std::vector<uint8_t> readBack;  // what the call's read buffer holds afterwards
    // clang-format off
  } cases[] = {
      {"write with sub-address: sub-address byte first", {W, 1, 0x32, 0x10, 2, {0x12, 0x34}},
       {{0x19, 0, 3, {0x10, 0x12, 0x34}}}, {}},
      {"plain write: sub-address ignored", {W, 0, 0x32, 0x55, 2, {0x12, 0x34}},
       {{0x19, 0, 2, {0x12, 0x34}}}, {}},
      {"plain write of nothing: a lone zero-length write, as asked", {W, 0, 0x32, 0, 0, {}},
       {{0x19, 0, 0, {}}}, {}},
      {"read with sub-address: write then read, repeated start", {R, 1, 0x1C, 0xF1, 2},
       {{0x0E, 0, 1, {0xF1}}, {0x0E, RD, 2, {}}}, {0xA0, 0xA1}},
      {"plain read: one read message", {R, 0, 0xC0, 0x33, 1}, {{0x60, RD, 1, {}}}, {0xA0}},
      {"write-read: the register address bytes then the read", {WR, 0, 0xB2, 0, 3, {0x02, 0x6C}},
       {{0x59, 0, 2, {0x02, 0x6C}}, {0x59, RD, 3, {}}}, {0xA0, 0xA1, 0xA2}},
      {"write-read without write bytes: a plain read, no empty write", {WR, 0, 0xB2, 0, 2, {}},
       {{0x59, RD, 2, {}}}, {0xA0, 0xA1}},
      {"write-read without read bytes: the write alone", {WR, 0, 0xB2, 0, 0, {0x02}},
       {{0x59, 0, 1, {0x02}}}, {}},
      {"address 0 is the general call, 7-bit 0", {W, 0, 0x00, 0, 1, {0x12}},
       {{0x00, 0, 1, {0x12}}}, {}},
      {"highest 8-bit address FE is 7-bit 7F", {R, 0, 0xFE, 0, 1}, {{0x7F, RD, 1, {}}}, {0xA0}},
      {"a plain write of 8192 bytes is one full-size message", {W, 0, 0x32, 0, 8192, big},
       {{0x19, 0, 8192, big}}, {}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kernel.transfers.clear();
    std::vector<uint8_t> buffer(8, 0xEE);
    EXPECT_EQ(Send(lib, handle, c.request, buffer.data()), 0);
    ASSERT_EQ(kernel.transfers.size(), 1u);
    EXPECT_EQ(kernel.transfers[0], c.messages);
    std::vector<uint8_t> expected = c.readBack;
    expected.resize(8, 0xEE);  // bytes past the read stay untouched
    EXPECT_EQ(buffer, expected);
  }
}

TEST_F(OpenedBus, RequestsWithoutASevenBitAddressOrTooLongNeverReachTheBus) {
  const auto W = Request::Write, R = Request::Read, WR = Request::WriteRead;
  const std::vector<uint8_t> big(8192, 0);
  const std::pair<const char*, Request> cases[] = {
      {"the tuner probe's second pass, 9-bit", {W, 1, 0x100, 0, 1, {0}}},
      {"negative address", {R, 0, -2, 0, 1}},
      {"read of 8193 bytes", {R, 0, 0x32, 0, 8193}},
      {"sub-address and 8192 bytes make 8193", {W, 1, 0x32, 0, 8192, big}},
      {"negative count", {R, 1, 0x32, 0, -1}},
      {"write-read of nothing at all", {WR, 0, 0x32, 0, 0, {}}},
  };
  std::vector<uint8_t> buffer(8193);
  for (const auto& [name, request] : cases)
    EXPECT_EQ(Send(lib, handle, request, buffer.data()), EINVAL) << name;
  EXPECT_EQ(lib.velI2C_ReadArray(handle + 1, 0, 0x32, 0, 1, buffer.data()), EBADF)
      << "a handle the library did not give";
  EXPECT_TRUE(kernel.transfers.empty());
}

TEST_F(OpenedBus, OnlyTheFullMessageCountIsSuccessAndEachErrnoIsTheResult) {
  struct Case {
    const char* name;
    int executeAtMost, transferError;
    uint16_t device;  // 8-bit address to talk to
    uint8_t result;
  };
  const Case cases[] = {
      {"both messages executed", -1, 0, 0x1C, 0},
      {"adapter ran one of two messages", 1, 0, 0x1C, EIO},
      {"no device at the address: ENXIO", -1, 0, 0x40, ENXIO},
      {"no acknowledge: EREMOTEIO", -1, EREMOTEIO, 0x1C, 0x79},
      {"an errno beyond one byte still fails: EIO", -1, 300, 0x1C, EIO},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kernel.executeAtMost = c.executeAtMost;
    kernel.transferError = c.transferError;
    kernel.transfers.clear();
    uint8_t buffer[1] = {};
    EXPECT_EQ(lib.velI2C_ReadArray(handle, 1, c.device, 0xF1, 1, buffer), c.result);
    EXPECT_EQ(kernel.transfers.size(), 1u);  // once: the library never retries
  }
}

TEST(LinuxI2cLibraryOpen, RefusesWhatIsNotAnI2cAdapterAndSaysWhy) {
  // A sysfs listing one i2c-dev node of an unusual major, 245:9.
  const std::string sys = testing::TempDir() + "quovis-sys";
  std::filesystem::create_directories(sys + "/class/i2c-dev/i2c-9");
  std::ofstream(sys + "/class/i2c-dev/i2c-9/dev") << "245:9\n";
  struct Case {
    std::string path = "/dev/i2c-3";
    mode_t file = 0;  // a node put at `path`, with its device number
    dev_t number = 0;
    int statError = 0, openError = 0, functionsError = 0;
    unsigned long functions = I2C_FUNC_I2C | I2C_FUNC_SMBUS_EMUL;
    std::string error = {};  // empty: opens
    bool opened = false, closed = false;
  };
  const std::string denied = "Cannot open I2C bus /dev/i2c-3: Permission denied";
  const Case cases[] = {
      {.opened = true},
      {.path = "/dev/i2c-7",
       .error = "I2C bus /dev/i2c-7 does not exist (is the i2c-dev module loaded?)"},
      {.path = "/tmp/board.bin",
       .file = S_IFREG | 0644,
       .error = "I2C bus /tmp/board.bin is not a character device"},
      {.statError = EACCES, .error = denied},
      {.openError = EACCES,
       .error = denied + " (add yourself to the i2c group or run with the needed rights)",
       .opened = true},
      {.openError = ENXIO,
       .error = "Cannot open I2C bus /dev/i2c-3: No such device or address",
       .opened = true},
      // A watchdog, which an open alone would start.
      {.path = "/dev/watchdog",
       .file = S_IFCHR | 0600,
       .number = makedev(10, 130),
       .error = "I2C bus /dev/watchdog is not an i2c-dev node (device 10:130; i2c-dev nodes have "
                "major 89 or are listed in " +
                sys + "/class/i2c-dev)"},
      // A node of another major that the kernel lists under class/i2c-dev.
      {.path = "/dev/i2c-9", .file = S_IFCHR | 0660, .number = makedev(245, 9), .opened = true},
      {.functionsError = ENOTTY,
       .error = "I2C bus /dev/i2c-3 is not an i2c-dev adapter: Inappropriate ioctl for device",
       .opened = true,
       .closed = true},
      {.functions = I2C_FUNC_SMBUS_EMUL,
       .error = "I2C bus /dev/i2c-3 does not take plain I2C transfers (I2C_RDWR)",
       .opened = true,
       .closed = true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + ": " + c.error);
    EmulatedI2cDev kernel;
    if (c.file) kernel.files[c.path] = c.file, kernel.numbers[c.path] = c.number;
    kernel.statError = c.statError;
    kernel.openError = c.openError;
    kernel.functionsError = c.functionsError;
    kernel.functions = c.functions;
    const std::vector<int> closedFd = {EmulatedI2cDev::kFd};
    {
      LinuxI2cLibrary lib(kernel, sys);
      std::string error;
      const bool opened = lib.Open(c.path, error);
      // Every board type finds the bus exactly when it opened.
      EXPECT_EQ(std::tuple(opened, error, kernel.opened.size(), kernel.closed.size(),
                           lib.velI2C_InitByType(24, 0) != 0, lib.velI2C_InitByType(18, 0) != 0),
                std::tuple(c.error.empty(), c.error, size_t(c.opened), size_t(c.closed),
                           c.error.empty(), c.error.empty()));
      EXPECT_TRUE(kernel.opened.empty() || kernel.opened[0] == c.path);
      EXPECT_TRUE(kernel.closed.empty() || kernel.closed == closedFd);
    }
    // An open node is closed with the library, once.
    EXPECT_EQ(kernel.closed, c.closed || c.error.empty() ? closedFd : std::vector<int>{});
    EXPECT_TRUE(kernel.transfers.empty());
  }
}

}  // namespace
