// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/LinuxFrontendName.h"

#include <fcntl.h>
#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

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

std::optional<std::string> ReadLinuxFrontendName(const std::string& node, std::string& whyNot) {
  int fd = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    whyNot = Reason(errno);
    return std::nullopt;
  }
  dvb_frontend_info info{};
  int result = ::ioctl(fd, FE_GET_INFO, &info);
  int error = errno;
  ::close(fd);
  if (result < 0) {
    whyNot = error == ENOTTY ? "not a DVB frontend" : Reason(error);
    return std::nullopt;
  }
  return std::string(info.name, strnlen(info.name, sizeof info.name));
}
