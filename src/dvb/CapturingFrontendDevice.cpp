// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvb/CapturingFrontendDevice.h"

#include <cerrno>

namespace {

// Passes on a version-3 read of one number (16 bits wide for the signal
// strength and SNR, 32 for the counters) and keeps it when it was answered.
template <typename T>
int PassV3(FrontendDevice& device, int (FrontendDevice::*read)(int, T&, int&), int fd,
           unsigned long request, void* argument, int& error, CapturedFrontend& c) {
  T value = 0;
  int r = (device.*read)(fd, value, error);
  if (r == 0) c.v3[request] = *static_cast<T*>(argument) = value;
  return r;
}

}  // namespace

int CapturingFrontendDevice::Ioctl(int fd, unsigned long request, void* argument, int& error) {
  CapturedFrontend& c = captured_;
  switch (request) {
    case FE_GET_INFO: return device_.GetInfo(fd, *static_cast<dvb_frontend_info*>(argument), error);
    case FE_READ_STATUS: {
      auto& status = *static_cast<fe_status_t*>(argument);
      int r = device_.ReadStatus(fd, status, error);
      if (r == 0) c.status = uint32_t(status);
      return r;
    }
    case FE_GET_PROPERTY: {
      auto& request = *static_cast<dtv_properties*>(argument);
      int r = device_.GetProperties(fd, request, error);
      for (uint32_t i = 0; r == 0 && i < request.num; ++i) {
        const dtv_property& p = request.props[i];
        if (p.cmd == DTV_DELIVERY_SYSTEM) c.deliverySystem = p.u.data;
        if (p.cmd == DTV_FREQUENCY) c.frequency = p.u.data;
        if (p.cmd == DTV_MODULATION) c.modulation = p.u.data;
        if (p.cmd >= DTV_STAT_SIGNAL_STRENGTH && p.cmd <= DTV_STAT_TOTAL_BLOCK_COUNT) {
          c.stats.erase(p.cmd);
          if (p.u.st.len > 0) c.stats[p.cmd] = p.u.st.stat[0];
        }
      }
      return r;
    }
    case FE_READ_SIGNAL_STRENGTH:
      return PassV3(device_, &FrontendDevice::ReadSignalStrength, fd, request, argument, error, c);
    case FE_READ_SNR:
      return PassV3(device_, &FrontendDevice::ReadSnr, fd, request, argument, error, c);
    case FE_READ_BER:
      return PassV3(device_, &FrontendDevice::ReadBer, fd, request, argument, error, c);
    case FE_READ_UNCORRECTED_BLOCKS:
      return PassV3(device_, &FrontendDevice::ReadUncorrectedBlocks, fd, request, argument, error,
                    c);
    default: return error = EPERM, -1;  // nothing else is ever asked of a read-only open
  }
}
