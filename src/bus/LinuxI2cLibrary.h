// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "bus/I2cLibrary.h"
#include "bus/KernelI2c.h"

// The library calls over a Linux i2c-dev node (/dev/i2c-N). The node is
// opened only when the user names it; every board type opens it. Each call
// is one ioctl(I2C_RDWR): combined transfers (sub-address then read) use a
// repeated start. A failed call answers the errno value of its cause
// (EREMOTEIO 0x79 when the chip did not acknowledge, EIO 5 when the adapter
// ran only part of the transfer, EINVAL 0x16 for a request that never reached
// the bus), so the console's " Returned " tells the engineer why.
class LinuxI2cLibrary : public I2cLibrary {
 public:
  // `sys`: where sysfs is mounted.
  explicit LinuxI2cLibrary(KernelI2c& kernel = SystemKernelI2c(), std::string sys = "/sys")
      : kernel_(kernel), sys_(std::move(sys)) {}
  ~LinuxI2cLibrary() override;

  // False with a message naming the device and the reason. Anything but an
  // i2c-dev node (character major 89, or a device number the kernel lists
  // under <sys>/class/i2c-dev) is refused before it is opened: opening
  // some other devices acts by itself (a watchdog starts counting).
  bool Open(const std::string& device, std::string& error);

  uint32_t velI2C_InitByType(int16_t boardType, int32_t reserved) override;
  uint8_t velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                            int32_t count, uint8_t* buffer) override;
  uint8_t velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                           int32_t count, uint8_t* buffer) override;
  uint8_t velI2C_WriteRead(uint32_t handle, int32_t address, int32_t reserved1, int32_t reserved2,
                           int32_t writeCount, uint8_t* writeBuffer, int32_t reserved3,
                           int32_t reserved4, int32_t readCount, uint8_t* readBuffer) override;

 private:
  struct Message {
    bool read;
    uint8_t* data;
    int32_t count;
  };
  uint8_t Transfer(uint32_t handle, int32_t address, const Message* messages, int count);

  bool ListedAsI2cDev(dev_t device) const;

  KernelI2c& kernel_;
  std::string sys_;
  int fd_ = -1;
};
