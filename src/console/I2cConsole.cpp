// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/I2cConsole.h"

#include <algorithm>
#include <vector>

#include "console/ConsoleInput.h"
#include "numbers/Format.h"

namespace {

// "12 34": the first `count` bytes, one space between them.
std::string ByteList(const uint8_t* bytes, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += (i ? " " : "") + Hex(bytes[i]);
  return text;
}

// What the user typed, shortened so that one log line stays readable.
std::string Quoted(std::string_view text) {
  constexpr size_t kShown = 24;
  if (text.size() <= kShown) return "\"" + std::string(text) + "\"";
  return "\"" + std::string(text.substr(0, kShown)) + "...\"";
}

}  // namespace

void I2cConsole::Reject(const char* what, const std::string& reason) {
  view_.AppendLog(std::string(what) + " rejected: " + reason);
}

bool I2cConsole::RefusedReadOnly(const char* what, const std::string& why) {
  if (!readOnly_) return false;
  view_.AppendLog(std::string(what) + " refused: read-only mode, " +
                  (why.empty() ? "" : why + "; ") + "nothing sent to the bus");
  return true;
}

std::string I2cConsole::WhyReadWrites() const {
  // The written part of a read must only name a register: longer than the
  // chip's register address, the chip would take the rest as data.
  int width = bus_.RegisterAddressBytesAt(address_);
  if (subAddrCount_ > width)
    return std::to_string(subAddrCount_) + " subaddress bytes where a register address at " +
           Hex(address_) + " takes " + std::to_string(width);
  // Reading nothing, only the subaddress would go out: a plain write.
  if (readCount_ == 0) return "a read of 0 bytes would send the subaddress as a write";
  return "";
}

void I2cConsole::LeaveAddress(std::string_view text) {
  if (auto value = HexByte(text))
    address_ = *value;
  else
    Reject("Address", Quoted(text) + " is above FF; previous value kept");
  view_.SetBoxText(ConsoleBox::Address, Hex(address_));
}

bool I2cConsole::LeaveList(std::string_view text, const char* boxName, ConsoleBox box, Bytes& bytes,
                           int16_t& count) {
  std::vector<std::string_view> tokens = SplitTokens(text);
  std::string problem;
  if (tokens.size() > size_t(kBufferSize)) {
    problem = std::to_string(tokens.size()) + " bytes, at most " + std::to_string(kBufferSize);
  } else {
    for (std::string_view token : tokens)
      if (!HexByte(token)) {
        problem = Quoted(token) + " is above FF";
        break;
      }
  }
  if (!problem.empty()) {
    Reject(boxName, problem + "; previous value kept");
    view_.SetBoxText(box, ByteList(bytes.data(), count));
    return false;
  }
  bytes.fill(0);
  for (size_t i = 0; i < tokens.size(); ++i) bytes[i] = *HexByte(tokens[i]);
  count = int16_t(tokens.size());
  return true;
}

void I2cConsole::LeaveSubAddr(std::string_view text) {
  LeaveList(text, "Subaddress", ConsoleBox::SubAddr, subAddr_, subAddrCount_);
}

void I2cConsole::LeaveData(std::string_view text) {
  LeaveList(text, "Data", ConsoleBox::Data, dataBuf_, dataCount_);
}

void I2cConsole::LeaveReadCount(std::string_view text) {
  double value = RoundHalfEven(LeadingNumber(text));
  if (value >= 0 && value <= kBufferSize)
    readCount_ = int16_t(value);
  else
    Reject("Read Count", Quoted(text) + " is outside 0 to " + std::to_string(kBufferSize) +
                             "; previous value kept");
  view_.SetBoxText(ConsoleBox::ReadCount, std::to_string(readCount_));
}

void I2cConsole::Read() {
  if (std::string why = WhyReadWrites(); !why.empty() && RefusedReadOnly("Read", why)) return;
  std::fill_n(dataBuf_.begin(), readCount_, 0);
  uint8_t result = bus_.lib.velI2C_WriteRead(bus_.handle, address_, 0, 0, subAddrCount_,
                                             subAddr_.data(), 0, 0, readCount_, dataBuf_.data());
  std::string data = ByteList(dataBuf_.data(), readCount_);
  view_.AppendLog("Read  " + Hex(address_) + " ( " + ByteList(subAddr_.data(), subAddrCount_) +
                  " ) " + data + " Returned " + Hex(result));
  // The data box now holds what was read, so a Write sends it straight back.
  view_.SetBoxText(ConsoleBox::Data, data);
  dataCount_ = readCount_;
}

void I2cConsole::ReadNS() {
  std::fill_n(dataBuf_.begin(), readCount_, 0);
  uint8_t result =
      bus_.lib.velI2C_ReadArray(bus_.handle, 0, address_, 0, readCount_, dataBuf_.data());
  std::string data;
  for (int i = 0; i < readCount_; ++i) data += " " + Hex(dataBuf_[i]);
  view_.AppendLog("Read  " + Hex(address_) + data + " Returned " + Hex(result));
  view_.SetBoxText(ConsoleBox::Data, data);
}

void I2cConsole::Write() {
  if (RefusedReadOnly("Write")) return;
  if (subAddrCount_ + dataCount_ > kBufferSize) {
    Reject("Write", std::to_string(subAddrCount_) + " subaddress and " +
                        std::to_string(dataCount_) + " data bytes, at most " +
                        std::to_string(kBufferSize) + " together; nothing written");
    return;
  }
  Bytes buffer{};
  std::copy_n(subAddr_.begin(), subAddrCount_, buffer.begin());
  std::copy_n(dataBuf_.begin(), dataCount_, buffer.begin() + subAddrCount_);
  uint8_t result = bus_.lib.velI2C_WriteArray(bus_.handle, 0, address_, 0,
                                              subAddrCount_ + dataCount_, buffer.data());
  std::string data = ByteList(dataBuf_.data(), dataCount_);
  view_.AppendLog("Write " + Hex(address_) + " ( " + ByteList(subAddr_.data(), subAddrCount_) +
                  " ) " + data + " Returned " + Hex(result));
  view_.SetBoxText(ConsoleBox::Data, data);
}

void I2cConsole::WriteNS() {
  if (RefusedReadOnly("Write N/S")) return;
  uint8_t result =
      bus_.lib.velI2C_WriteArray(bus_.handle, 0, address_, 0, dataCount_, dataBuf_.data());
  std::string line = "Write " + Hex(address_);
  for (int i = 0; i < dataCount_; ++i) line += " " + Hex(dataBuf_[i]);
  view_.AppendLog(line + " Returned " + Hex(result));
}

void I2cConsole::Scan(const std::function<bool()>& letEventsRun) {
  view_.AppendLog("Scanning I2C Addresses for devices");
  for (int address = 0; address <= 0xFC; address += 2) {
    view_.SetBoxText(ConsoleBox::Address, Hex(address));
    uint8_t byte = 0;
    if (bus_.lib.velI2C_ReadArray(bus_.handle, 0, address, 0, 1, &byte) == 0)
      view_.AppendLog("Scan Read " + Hex(address) + " " + Hex(byte));
    if (!letEventsRun()) return;
  }
}

void I2cConsole::Clear() { view_.ClearLog(); }
