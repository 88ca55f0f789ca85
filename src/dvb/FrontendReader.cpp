// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvb/FrontendReader.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::array<uint32_t, 11> kAsked = {DTV_DELIVERY_SYSTEM,
                                             DTV_FREQUENCY,
                                             DTV_MODULATION,
                                             DTV_STAT_SIGNAL_STRENGTH,
                                             DTV_STAT_CNR,
                                             DTV_STAT_PRE_ERROR_BIT_COUNT,
                                             DTV_STAT_PRE_TOTAL_BIT_COUNT,
                                             DTV_STAT_POST_ERROR_BIT_COUNT,
                                             DTV_STAT_POST_TOTAL_BIT_COUNT,
                                             DTV_STAT_ERROR_BLOCK_COUNT,
                                             DTV_STAT_TOTAL_BLOCK_COUNT};
constexpr size_t kFirstStat = 3;

std::optional<KernelLevel> Level(const dtv_fe_stats& s) {
  if (s.len == 0) return std::nullopt;
  if (s.stat[0].scale == FE_SCALE_DECIBEL)
    return KernelLevel{false, double(s.stat[0].svalue) / 1000};
  if (s.stat[0].scale == FE_SCALE_RELATIVE)
    return KernelLevel{true, double(s.stat[0].uvalue & 0xFFFF) * 100 / 65535};
  return std::nullopt;
}

std::optional<uint64_t> Count(const dtv_fe_stats& s) {
  if (s.len == 0 || s.stat[0].scale != FE_SCALE_COUNTER) return std::nullopt;
  return s.stat[0].uvalue;
}

std::string OpenProblem(const std::string& path, int why) {
  switch (why) {
    case ENOENT: return "DVB frontend " + path + " does not exist";
    case EACCES:
    case EPERM:
      return "Cannot open DVB frontend " + path + ": " + std::strerror(why) +
             " (add yourself to the video group)";
    case EBUSY:
      return "DVB frontend " + path +
             " is busy: its adapter runs one frontend at a time and another one is in use";
    default: return "Cannot open DVB frontend " + path + ": " + std::strerror(why);
  }
}

}  // namespace

FrontendReader::~FrontendReader() {
  if (fd_ >= 0) device_.Close(fd_);
}

bool FrontendReader::Open(const std::string& path, std::string& error) {
  int why = 0;
  fd_ = device_.OpenReadOnly(path, why);
  if (fd_ < 0) {
    error = OpenProblem(path, why);
    return false;
  }
  path_ = path;
  dvb_frontend_info info{};
  if (device_.GetInfo(fd_, info, why) == 0)
    name_.assign(info.name, strnlen(info.name, sizeof info.name));
  return true;
}

std::optional<double> FrontendReader::Rate(std::optional<Counter>& previous,
                                           const std::optional<Counter>& now) {
  std::optional<double> rate;
  if (previous && now && now->errors >= previous->errors && now->total > previous->total)
    rate = double(now->errors - previous->errors) / double(now->total - previous->total);
  previous = now;
  return rate;
}

KernelReading FrontendReader::Poll() {
  KernelReading r;
  int why = 0;
  fe_status_t status{};
  if (device_.ReadStatus(fd_, status, why) < 0) {
    r.problem = "Cannot read DVB frontend " + path_ + ": " + std::strerror(why);
    return r;
  }
  r.status = uint32_t(status);

  std::array<dtv_property, kAsked.size()> props{};
  for (size_t i = 0; i < kAsked.size(); ++i) props[i].cmd = kAsked[i];
  dtv_properties request{uint32_t(props.size()), props.data()};
  if (device_.GetProperties(fd_, request, why) < 0) {
    r.problem = "Cannot read the statistics of DVB frontend " + path_ + ": " + std::strerror(why);
    return r;
  }
  r.deliverySystem = uint32_t{props[0].u.data};
  r.frequency = uint32_t{props[1].u.data};
  r.modulation = uint32_t{props[2].u.data};

  bool anyStat = false;
  for (size_t i = kFirstStat; i < props.size(); ++i) anyStat |= props[i].u.st.len > 0;
  if (!anyStat) {
    ReadVersion3(r);
    return r;
  }
  auto st = [&](uint32_t cmd) -> const dtv_fe_stats& {
    return props[kFirstStat + (cmd - DTV_STAT_SIGNAL_STRENGTH)].u.st;
  };
  r.signal = Level(st(DTV_STAT_SIGNAL_STRENGTH));
  r.cnr = Level(st(DTV_STAT_CNR));
  auto counter = [&](uint32_t errors, uint32_t total) -> std::optional<Counter> {
    auto e = Count(st(errors)), t = Count(st(total));
    if (!e || !t) return std::nullopt;
    return Counter{*e, *t};
  };
  r.preBer = Rate(pre_, counter(DTV_STAT_PRE_ERROR_BIT_COUNT, DTV_STAT_PRE_TOTAL_BIT_COUNT));
  r.postBer = Rate(post_, counter(DTV_STAT_POST_ERROR_BIT_COUNT, DTV_STAT_POST_TOTAL_BIT_COUNT));
  r.per = Rate(blocks_, counter(DTV_STAT_ERROR_BLOCK_COUNT, DTV_STAT_TOTAL_BLOCK_COUNT));
  r.ucbTotal = Count(st(DTV_STAT_ERROR_BLOCK_COUNT));
  return r;
}

void FrontendReader::ReadVersion3(KernelReading& r) {
  r.v3 = true;
  // Each answer on its own: a driver may lack some of the calls.
  auto ask = [&](auto call, auto& out) {
    std::remove_reference_t<decltype(*out)> value{};
    int why = 0;
    if ((device_.*call)(fd_, value, why) == 0)
      out = value;
    else if (why == EAGAIN)
      r.notTuned = true;
  };
  ask(&FrontendDevice::ReadSignalStrength, r.v3Signal);
  ask(&FrontendDevice::ReadSnr, r.v3Snr);
  ask(&FrontendDevice::ReadBer, r.v3Ber);
  ask(&FrontendDevice::ReadUncorrectedBlocks, r.v3Ucb);
}
