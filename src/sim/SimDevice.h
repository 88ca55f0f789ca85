// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A read a chip answered, as the bus carried it: a sub-address read (mode 1,
// or the library's mode 16 with a two-byte sub-address), a plain read
// (mode 0), or a combined write-read whose written bytes are `command`.
struct SimRead {
  bool writeRead = false;
  int32_t mode = 0, sub = 0;
  std::vector<uint8_t> command;
  std::vector<uint8_t> bytes;
};

// A chip on the simulated bus. Each transaction answers true when the chip
// acknowledges it. Addresses seen here are already matched by the board.
class SimDevice {
 public:
  virtual ~SimDevice() = default;

  virtual bool Write(int32_t mode, int32_t sub, const uint8_t* data, int32_t count) = 0;
  virtual bool Read(int32_t mode, int32_t sub, uint8_t* data, int32_t count) = 0;
  virtual bool WriteRead(const uint8_t* out, int32_t outCount, uint8_t* in, int32_t inCount) = 0;

  // Sets one register from a board file; false with a reason when the
  // register or value does not fit the chip.
  virtual bool SetRegister(long reg, long value, std::string& error) = 0;
  // The register's current value (for tests and snapshots); -1 if none.
  virtual long GetRegister(long reg) const = 0;

  // The registers, numbered as a board file numbers them, whose contents
  // made the chip answer `read` with its bytes, added to `registers` (a
  // later read of the same register replaces the value). Reads are learnt
  // in bus order on a fresh model, which follows its own register pointer
  // for plain reads. False when the read does not map onto registers.
  virtual bool Learn(const SimRead& /*read*/, std::map<long, long>& /*registers*/) { return false; }
  // How many bytes a register holds and a register address takes, for
  // writing them in a board file.
  virtual int RegisterBytes(long /*reg*/) const { return 1; }
  virtual int AddressBytes() const { return 1; }

  // Live models let their signal wander; seconds since the board started.
  virtual void Advance(double seconds) { (void)seconds; }
  // Takes the signal's lock away (true) or gives it back (false), on top of
  // what the registers say; false for a model that cannot.
  virtual bool DropLock(bool dropped) {
    (void)dropped;
    return false;
  }
};
