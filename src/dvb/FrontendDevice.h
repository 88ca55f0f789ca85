// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <fcntl.h>
#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The kernel's layout of one property, as FE_GET_PROPERTY fills it: packed,
// the value union after cmd and three reserved words, each statistic 9 bytes.
static_assert(sizeof(dtv_stats) == 9);
static_assert(sizeof(dtv_fe_stats) == 1 + MAX_DTV_STATS * 9);
static_assert(offsetof(dtv_property, u) == 16);
static_assert(sizeof(dtv_property) == 16 + (sizeof(void*) == 8 ? 56 : 52) + 4);

// The system calls made on a DVB frontend node (/dev/dvb/adapterA/frontendF),
// behind one seam so that they can run against an emulation of the kernel's
// rules. quovis never tunes and never takes a frontend from the application
// that does: a node is only ever opened read-only, and on such an open the
// kernel takes nothing but the _IOR requests. Every call answers what the
// system call answers; on -1, `error` holds errno.
class FrontendDevice {
 public:
  virtual ~FrontendDevice() = default;

  // open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC).
  int OpenReadOnly(const std::string& path, int& error) {
    return Open(path, kReadOnlyFlags, error);
  }
  virtual void Close(int fd) = 0;

  int GetInfo(int fd, dvb_frontend_info& info, int& error) {
    return Ioctl(fd, FE_GET_INFO, &info, error);
  }
  int ReadStatus(int fd, fe_status_t& status, int& error) {
    return Ioctl(fd, FE_READ_STATUS, &status, error);
  }
  int GetProperties(int fd, dtv_properties& properties, int& error) {
    return Ioctl(fd, FE_GET_PROPERTY, &properties, error);
  }
  // The version-3 statistics: raw numbers whose scale only the driver knows.
  int ReadSignalStrength(int fd, uint16_t& value, int& error) {
    return Ioctl(fd, FE_READ_SIGNAL_STRENGTH, &value, error);
  }
  int ReadSnr(int fd, uint16_t& value, int& error) { return Ioctl(fd, FE_READ_SNR, &value, error); }
  int ReadBer(int fd, uint32_t& value, int& error) { return Ioctl(fd, FE_READ_BER, &value, error); }
  int ReadUncorrectedBlocks(int fd, uint32_t& value, int& error) {
    return Ioctl(fd, FE_READ_UNCORRECTED_BLOCKS, &value, error);
  }

  static constexpr int kReadOnlyFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

 protected:
  virtual int Open(const std::string& path, int flags, int& error) = 0;
  virtual int Ioctl(int fd, unsigned long request, void* argument, int& error) = 0;
};

// The running kernel.
FrontendDevice& SystemFrontendDevice();

// The name the frontend gives in FE_GET_INFO, from a read-only open that is
// closed again; nullopt with a short reason ("no /dev node", "busy", ...)
// when the node cannot be opened or read.
std::optional<std::string> ReadFrontendName(FrontendDevice& device, const std::string& node,
                                            std::string& whyNot);
