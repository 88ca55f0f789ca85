// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimFrontend.h"

#include <cerrno>
#include <cmath>
#include <cstring>

#include "monitor/Codes.h"

namespace {

constexpr int kFd = 3;
constexpr double kNoiseFloorDbm = -90;  // strength = floor + SNR

dtv_stats Stat(uint8_t scale, uint64_t value) {
  dtv_stats s{};
  s.scale = scale;
  s.uvalue = value;
  return s;
}

}  // namespace

int SimFrontend::Open(const std::string& path, int flags, int& error) {
  if (path != kNode || faults_.absent) return error = ENOENT, -1;
  readOnly_ = (flags & O_ACCMODE) == O_RDONLY;
  return kFd;
}

void SimFrontend::Update() {
  if (faults_.captured) {
    const CapturedFrontend& c = *faults_.captured;
    status_ = c.status;
    system_ = c.deliverySystem;
    frequency_ = c.frequency;
    modulation_ = c.modulation;
    stats_ = c.stats;
    return;
  }
  const Reading& r = signal_();
  const bool locked = r.answering && r.locked();
  switch (r.mode) {
    case Mode::Vsb8: system_ = SYS_ATSC, modulation_ = VSB_8; break;
    case Mode::Qam64: system_ = SYS_DVBC_ANNEX_B, modulation_ = QAM_64; break;
    case Mode::Qam256: system_ = SYS_DVBC_ANNEX_B, modulation_ = QAM_256; break;
    case Mode::DvbT: system_ = SYS_DVBT, modulation_ = QAM_AUTO; break;
    case Mode::DvbC: system_ = SYS_DVBC_ANNEX_A, modulation_ = QAM_AUTO; break;
    case Mode::AtscMh: system_ = SYS_ATSCMH, modulation_ = VSB_8; break;
    default: break;
  }
  bool anyLock = false;
  for (int16_t f : r.locks) anyLock |= f == 1;
  status_ = locked    ? FE_HAS_SIGNAL | FE_HAS_CARRIER | FE_HAS_VITERBI | FE_HAS_SYNC | FE_HAS_LOCK
            : anyLock ? FE_HAS_SIGNAL | FE_HAS_CARRIER
                      : 0;
  if (locked) {
    bits_ += kBitsPerPoll;
    blocks_ += kBlocksPerPoll;
    preErrors_ += uint64_t(std::max<int32_t>(r.correctable, 0));
    blockErrors_ += uint64_t(std::max(r.uncorrectable, 0.0));
    postErrors_ = blockErrors_ * 188 * 8 / 2;  // about half the bits of a lost packet
  }
  stats_.clear();
  if (faults_.v3Only) return;
  const dtv_stats na = Stat(FE_SCALE_NOT_AVAILABLE, 0);
  const bool hide = faults_.availableAfterLock && !locked;
  auto set = [&](uint32_t cmd, dtv_stats s) { stats_[cmd] = hide ? na : s; };
  set(DTV_STAT_SIGNAL_STRENGTH,
      Stat(FE_SCALE_DECIBEL,
           uint64_t(int64_t(std::lround(faults_.signalSign * (kNoiseFloorDbm + r.snr) * 1000)))));
  set(DTV_STAT_CNR, locked ? Stat(FE_SCALE_DECIBEL,
                                  uint64_t(int64_t(std::lround(r.snr * faults_.cnrScale * 1000))))
                           : na);
  set(DTV_STAT_PRE_ERROR_BIT_COUNT, Stat(FE_SCALE_COUNTER, preErrors_));
  set(DTV_STAT_PRE_TOTAL_BIT_COUNT, Stat(FE_SCALE_COUNTER, bits_));
  set(DTV_STAT_POST_ERROR_BIT_COUNT, Stat(FE_SCALE_COUNTER, postErrors_));
  set(DTV_STAT_POST_TOTAL_BIT_COUNT, Stat(FE_SCALE_COUNTER, bits_));
  set(DTV_STAT_ERROR_BLOCK_COUNT, Stat(FE_SCALE_COUNTER, blockErrors_));
  set(DTV_STAT_TOTAL_BLOCK_COUNT, Stat(FE_SCALE_COUNTER, blocks_));
}

int SimFrontend::V3(void* argument, uint64_t value, size_t size, int& error) {
  if (faults_.noWriter) return error = EAGAIN, -1;
  if (size == 2) {
    uint16_t v = uint16_t(std::min<uint64_t>(value, 0xFFFF));
    std::memcpy(argument, &v, 2);
  } else {
    uint32_t v = uint32_t(std::min<uint64_t>(value, 0xFFFFFFFF));
    std::memcpy(argument, &v, 4);
  }
  return 0;
}

int SimFrontend::Ioctl(int fd, unsigned long request, void* argument, int& error) {
  if (fd != kFd) return error = EBADF, -1;
  if (readOnly_ && _IOC_DIR(request) != _IOC_READ) return error = EPERM, -1;
  const Reading& r = signal_();
  const bool v3Request = request == FE_READ_SIGNAL_STRENGTH || request == FE_READ_SNR ||
                         request == FE_READ_BER || request == FE_READ_UNCORRECTED_BLOCKS;
  if (faults_.captured && v3Request) {
    // A version-3 number the driver gave when captured; none: it answered EAGAIN.
    auto v3 = faults_.captured->v3.find(request);
    if (v3 == faults_.captured->v3.end()) return error = EAGAIN, -1;
    return V3(argument, v3->second, _IOC_SIZE(request), error);
  }
  switch (request) {
    case FE_GET_INFO: {
      auto* info = static_cast<dvb_frontend_info*>(argument);
      *info = {};
      std::strncpy(info->name, "Simulated frontend", sizeof info->name - 1);
      return 0;
    }
    case FE_READ_STATUS:
      // Each poll starts with the status: the driver's cache follows the signal.
      Update();
      *static_cast<fe_status_t*>(argument) = fe_status_t(status_);
      return 0;
    case FE_GET_PROPERTY: {
      auto& request = *static_cast<dtv_properties*>(argument);
      if (request.num == 0 || request.num > DTV_IOCTL_MAX_MSGS) return error = EINVAL, -1;
      for (uint32_t i = 0; i < request.num; ++i) {
        dtv_property& p = request.props[i];
        if (p.cmd == DTV_DELIVERY_SYSTEM) {
          p.u.data = system_;
        } else if (p.cmd == DTV_FREQUENCY) {
          p.u.data = frequency_;
        } else if (p.cmd == DTV_MODULATION) {
          p.u.data = modulation_;
        } else {
          auto it = stats_.find(p.cmd);
          p.u.st.len = it == stats_.end() ? 0 : 1;
          if (it != stats_.end()) p.u.st.stat[0] = it->second;
        }
      }
      return 0;
    }
    // Raw numbers as many drivers give them: strength over the full 16 bits,
    // SNR in tenths of a dB.
    case FE_READ_SIGNAL_STRENGTH:
      return V3(argument, uint64_t(std::clamp(r.snr / 40.0, 0.0, 1.0) * 65535), 2, error);
    case FE_READ_SNR: return V3(argument, uint64_t(std::max(r.snr * 10.0, 0.0)), 2, error);
    case FE_READ_BER: return V3(argument, uint64_t(std::max<int32_t>(r.correctable, 0)), 4, error);
    case FE_READ_UNCORRECTED_BLOCKS: return V3(argument, blockErrors_, 4, error);
    default: return error = 524, -1;  // ENOTSUPP
  }
}
