#pragma once
#include <cstdint>
#include <string>

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

  // Live models let their signal wander; seconds since the board started.
  virtual void Advance(double seconds) { (void)seconds; }
};
