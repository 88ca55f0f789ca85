// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "bus/Bus.h"
#include "console/ConsoleView.h"

// Raw I2C transactions typed in hexadecimal, one library call per command
// and never a retry, each logged with the library's result. The boxes are
// read only when the user leaves them; an entry beyond the buffers is
// refused with a log line, the previous value stays and the box shows it
// again, so the bus only ever sees bytes the user can see. Read-only, Write
// and Write N/S send nothing and say so in the log; the scan and reads still
// run, a Read only with a subaddress no longer than the register address of
// the chip detected at its address (one byte elsewhere) and a read count
// above 0.
class I2cConsole {
 public:
  static constexpr int kBufferSize = 256;
  using Bytes = std::array<uint8_t, kBufferSize>;

  I2cConsole(Bus& bus, ConsoleView& view, bool readOnly = false)
      : bus_(bus), view_(view), readOnly_(readOnly) {}

  // The user left a box holding `text`.
  void LeaveAddress(std::string_view text);
  void LeaveSubAddr(std::string_view text);
  void LeaveData(std::string_view text);
  void LeaveReadCount(std::string_view text);

  void Read();
  void ReadNS();
  void Write();
  void WriteNS();
  // Tries every even address from 0 to FC. `letEventsRun` runs after each
  // address so the window stays live; it answers false when the console is
  // going away, and the scan then stops without touching it again.
  void Scan(const std::function<bool()>& letEventsRun);
  void Clear();

  uint8_t Address() const { return address_; }
  const Bytes& SubAddr() const { return subAddr_; }
  int16_t SubAddrCount() const { return subAddrCount_; }
  const Bytes& DataBuf() const { return dataBuf_; }
  int16_t DataCount() const { return dataCount_; }
  int16_t ReadCount() const { return readCount_; }

 private:
  // Fills `bytes`/`count` from a byte list, or logs why not and keeps them.
  bool LeaveList(std::string_view text, const char* boxName, ConsoleBox box, Bytes& bytes,
                 int16_t& count);
  void Reject(const char* what, const std::string& reason);
  // Logs the refusal of a write in read-only mode, and why when given;
  // true when refused.
  bool RefusedReadOnly(const char* what, const std::string& why = "");
  // Why a Read would write more than a register address; empty when not.
  std::string WhyReadWrites() const;

  Bus& bus_;
  ConsoleView& view_;
  bool readOnly_;
  uint8_t address_ = 0;
  Bytes subAddr_{};
  int16_t subAddrCount_ = 0;
  Bytes dataBuf_{};
  int16_t dataCount_ = 0;
  int16_t readCount_ = 1;
};
