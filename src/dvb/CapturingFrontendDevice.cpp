// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvb/CapturingFrontendDevice.h"

#include <cerrno>

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
    case FE_READ_SNR: {
      uint16_t value = 0;
      int r = request == FE_READ_SNR ? device_.ReadSnr(fd, value, error)
                                     : device_.ReadSignalStrength(fd, value, error);
      if (r == 0) c.v3[request] = *static_cast<uint16_t*>(argument) = value;
      return r;
    }
    case FE_READ_BER:
    case FE_READ_UNCORRECTED_BLOCKS: {
      uint32_t value = 0;
      int r = request == FE_READ_BER ? device_.ReadBer(fd, value, error)
                                     : device_.ReadUncorrectedBlocks(fd, value, error);
      if (r == 0) c.v3[request] = *static_cast<uint32_t*>(argument) = value;
      return r;
    }
    default: return error = EPERM, -1;  // nothing else is ever asked of a read-only open
  }
}
