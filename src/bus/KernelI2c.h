// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <linux/i2c.h>
#include <sys/types.h>

#include <cstdint>
#include <string>

// The system calls the i2c-dev backend makes, one member each, so that the
// backend can run against an emulation of the kernel's rules. Each member
// answers what the system call answers; on -1, `error` holds errno.
class KernelI2c {
 public:
  virtual ~KernelI2c() = default;
  // stat(): the file's type and mode, and its device number.
  virtual int Stat(const std::string& path, mode_t& mode, dev_t& device, int& error) = 0;
  virtual int OpenReadWrite(const std::string& path, int& error) = 0;
  virtual void Close(int fd) = 0;
  // ioctl(I2C_FUNCS): the adapter's functionality bits.
  virtual int Functions(int fd, unsigned long& functions, int& error) = 0;
  // ioctl(I2C_RDWR): the number of messages executed.
  virtual int ReadWrite(int fd, i2c_msg* messages, uint32_t count, int& error) = 0;
};

// The running kernel.
KernelI2c& SystemKernelI2c();
