// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <fcntl.h>
#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "dvb/FrontendDevice.h"

// The kernel's DVB frontend rules, one driver behind the node: read-only
// opens take only _IOR requests (else EPERM); a busy shared adapter refuses
// an open with EBUSY; FE_GET_PROPERTY takes 1..64 properties, filling each
// statistic from the driver's cache (len 0 without version-5 statistics);
// version-3 statistics answer EAGAIN unless an application has the frontend
// open for writing; other requests ENOTSUPP (524).
class EmulatedFrontend : public FrontendDevice {
 public:
  static constexpr int kFd = 9;
  static constexpr int kNotSupported = 524;

  std::set<std::string> nodes{"/dev/dvb/adapter0/frontend0"};
  int openError = 0;               // open fails with this when set (EACCES ...)
  bool sharedAdapterBusy = false;  // another frontend of the adapter is in use

  std::string name = "Emulated DVB-T";
  uint32_t status = 0;
  uint32_t deliverySystem = SYS_DVBT, frequency = 474000000, modulation = QAM_64;
  std::map<uint32_t, dtv_stats> stats;  // by DTV_STAT_*; a missing one has len 0
  bool statsOnlyWhenLocked = false;
  bool writer = true;  // an application tunes it: the version-3 calls answer
  uint16_t v3Signal = 0, v3Snr = 0;
  uint32_t v3Ber = 0, v3Ucb = 0;

  struct Opened {
    std::string path;
    int flags;
  };
  std::vector<Opened> opens;
  std::vector<unsigned long> requests;  // every ioctl, in order
  std::vector<int> closed;

  static dtv_stats Decibel(int64_t thousandths) {
    return Stat(FE_SCALE_DECIBEL, uint64_t(thousandths));
  }
  static dtv_stats Relative(uint16_t value) { return Stat(FE_SCALE_RELATIVE, value); }
  static dtv_stats Counter(uint64_t value) { return Stat(FE_SCALE_COUNTER, value); }
  static dtv_stats NotAvailable() { return Stat(FE_SCALE_NOT_AVAILABLE, 0); }

  void Close(int fd) override {
    closed.push_back(fd);
    open_ = false;
  }

 protected:
  int Open(const std::string& path, int flags, int& error) override {
    opens.push_back({path, flags});
    if (!nodes.count(path)) return error = ENOENT, -1;
    if (openError) return error = openError, -1;
    if (sharedAdapterBusy) return error = EBUSY, -1;
    open_ = true;
    readOnly_ = (flags & O_ACCMODE) == O_RDONLY;
    return kFd;
  }

  int Ioctl(int fd, unsigned long request, void* argument, int& error) override {
    requests.push_back(request);
    if (!open_ || fd != kFd) return error = EBADF, -1;
    if (readOnly_ && (_IOC_DIR(request) != _IOC_READ || request == FE_GET_EVENT))
      return error = EPERM, -1;
    switch (request) {
      case FE_GET_INFO: {
        auto* info = static_cast<dvb_frontend_info*>(argument);
        *info = {};
        std::strncpy(info->name, name.c_str(), sizeof info->name - 1);
        return 0;
      }
      case FE_READ_STATUS: *static_cast<fe_status_t*>(argument) = fe_status_t(status); return 0;
      case FE_GET_PROPERTY: return GetProperties(*static_cast<dtv_properties*>(argument), error);
      case FE_READ_SIGNAL_STRENGTH: return V3(argument, v3Signal, error);
      case FE_READ_SNR: return V3(argument, v3Snr, error);
      case FE_READ_BER: return V3(argument, v3Ber, error);
      case FE_READ_UNCORRECTED_BLOCKS: return V3(argument, v3Ucb, error);
      default: return error = kNotSupported, -1;
    }
  }

 private:
  static dtv_stats Stat(uint8_t scale, uint64_t value) {
    dtv_stats s{};
    s.scale = scale;
    s.uvalue = value;
    return s;
  }

  int GetProperties(dtv_properties& request, int& error) {
    if (request.num == 0 || request.num > DTV_IOCTL_MAX_MSGS) return error = EINVAL, -1;
    for (uint32_t i = 0; i < request.num; ++i) {
      dtv_property& p = request.props[i];
      switch (p.cmd) {
        case DTV_DELIVERY_SYSTEM: p.u.data = deliverySystem; break;
        case DTV_FREQUENCY: p.u.data = frequency; break;
        case DTV_MODULATION: p.u.data = modulation; break;
        default: {
          if (p.cmd < DTV_STAT_SIGNAL_STRENGTH || p.cmd > DTV_STAT_TOTAL_BLOCK_COUNT)
            return error = EINVAL, -1;
          auto it = stats.find(p.cmd);
          p.u.st.len = it == stats.end() ? 0 : 1;
          if (it != stats.end())
            p.u.st.stat[0] =
                statsOnlyWhenLocked && !(status & FE_HAS_LOCK) ? NotAvailable() : it->second;
        }
      }
    }
    return 0;
  }

  template <typename T>
  int V3(void* argument, T value, int& error) {
    if (!writer) return error = EAGAIN, -1;
    *static_cast<T*>(argument) = value;
    return 0;
  }

  bool open_ = false;
  bool readOnly_ = false;
};
