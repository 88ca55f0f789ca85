// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/KernelI2c.h"

#include <linux/i2c-dev.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "bus/SystemCall.h"

namespace {

class SystemKernel : public KernelI2c {
 public:
  int Stat(const std::string& path, mode_t& mode, dev_t& device, int& error) override {
    struct stat info {};
    if (stat(path.c_str(), &info) < 0) return error = errno, -1;
    mode = info.st_mode;
    device = info.st_rdev;
    return 0;
  }
  int OpenReadWrite(const std::string& path, int& error) override {
    return SystemOpen(path, O_RDWR | O_CLOEXEC, error);
  }
  void Close(int fd) override { close(fd); }
  int Functions(int fd, unsigned long& functions, int& error) override {
    return SystemIoctl(fd, I2C_FUNCS, &functions, error);
  }
  int ReadWrite(int fd, i2c_msg* messages, uint32_t count, int& error) override {
    i2c_rdwr_ioctl_data data{messages, count};
    return SystemIoctl(fd, I2C_RDWR, &data, error);
  }
};

}  // namespace

KernelI2c& SystemKernelI2c() {
  static SystemKernel kernel;
  return kernel;
}
