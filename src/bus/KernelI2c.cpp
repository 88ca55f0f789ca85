// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/KernelI2c.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
    int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) error = errno;
    return fd;
  }
  void Close(int fd) override { close(fd); }
  int Functions(int fd, unsigned long& functions, int& error) override {
    int r = ioctl(fd, I2C_FUNCS, &functions);
    if (r < 0) error = errno;
    return r;
  }
  int ReadWrite(int fd, i2c_msg* messages, uint32_t count, int& error) override {
    i2c_rdwr_ioctl_data data{messages, count};
    int r = ioctl(fd, I2C_RDWR, &data);
    if (r < 0) error = errno;
    return r;
  }
};

}  // namespace

KernelI2c& SystemKernelI2c() {
  static SystemKernel kernel;
  return kernel;
}
