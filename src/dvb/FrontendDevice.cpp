// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvb/FrontendDevice.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "bus/SystemCall.h"

namespace {

class SystemFrontend : public FrontendDevice {
 public:
  void Close(int fd) override { close(fd); }

 protected:
  int Open(const std::string& path, int flags, int& error) override {
    return SystemOpen(path, flags, error);
  }
  int Ioctl(int fd, unsigned long request, void* argument, int& error) override {
    return SystemIoctl(fd, request, argument, error);
  }
};

std::string Reason(int error) {
  switch (error) {
    case ENOENT: return "no /dev node";
    case EACCES:
    case EPERM: return "no permission";
    // A shared multi-frontend adapter refuses its other frontends while one is in use.
    case EBUSY: return "busy";
    default: return std::strerror(error);
  }
}

}  // namespace

FrontendDevice& SystemFrontendDevice() {
  static SystemFrontend device;
  return device;
}

std::optional<std::string> ReadFrontendName(FrontendDevice& device, const std::string& node,
                                            std::string& whyNot) {
  int error = 0;
  int fd = device.OpenReadOnly(node, error);
  if (fd < 0) {
    whyNot = Reason(error);
    return std::nullopt;
  }
  dvb_frontend_info info{};
  int result = device.GetInfo(fd, info, error);
  device.Close(fd);
  if (result < 0) {
    whyNot = error == ENOTTY ? "not a DVB frontend" : Reason(error);
    return std::nullopt;
  }
  return std::string(info.name, strnlen(info.name, sizeof info.name));
}
