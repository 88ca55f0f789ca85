// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvb/FrontendDevice.h"

#include <unistd.h>

#include <cerrno>

namespace {

class SystemFrontend : public FrontendDevice {
 public:
  void Close(int fd) override { close(fd); }

 protected:
  int Open(const std::string& path, int flags, int& error) override {
    int fd = open(path.c_str(), flags);
    if (fd < 0) error = errno;
    return fd;
  }
  int Ioctl(int fd, unsigned long request, void* argument, int& error) override {
    int r = ioctl(fd, request, argument);
    if (r < 0) error = errno;
    return r;
  }
};

}  // namespace

FrontendDevice& SystemFrontendDevice() {
  static SystemFrontend device;
  return device;
}
