// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Codes.h"

#include <array>

namespace {
template <size_t N>
std::string Pick(const std::array<const char*, N>& texts, int16_t code) {
  return code >= 0 && size_t(code) < N ? texts[code] : "";
}
}  // namespace

std::string ModeText(int16_t mode) {
  return Pick(std::array{"8-VSB", "QAM 64", "QAM 256", "Sleep", "DVB-T", "DVB-C", "ATSC-MH"}, mode);
}
std::string TpsText(TpsField field, int16_t code) {
  switch (field) {
    case TpsField::Modulation:
      return Pick(std::array{"QPSK", "QAM16", "QAM64", "QAM8", "QAM32", "QAM128", "QAM256"}, code);
    case TpsField::Hierarchy: return Pick(std::array{"none", "1", "2", "4"}, code);
    case TpsField::CodeRate: return Pick(std::array{"1/2", "2/3", "3/4", "5/6", "7/8"}, code);
    case TpsField::Guard: return Pick(std::array{"1/32", "1/16", "1/8", "1/4"}, code);
    case TpsField::TransmissionMode: return Pick(std::array{"2K", "8K", "4K"}, code);
    case TpsField::SelectHPLP: return Pick(std::array{"hp code rate:", "lp code rate:"}, code);
  }
  return "";
}
