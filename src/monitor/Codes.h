// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

// Operating modes, as returned by OperatingMode and passed to SNR.
namespace Mode {
constexpr int16_t None = -1;
constexpr int16_t Vsb8 = 0;
constexpr int16_t Qam64 = 1;
constexpr int16_t Qam256 = 2;
constexpr int16_t Sleep = 3;
constexpr int16_t DvbT = 4;
constexpr int16_t DvbC = 5;
constexpr int16_t AtscMh = 6;

constexpr bool IsQam(int16_t mode) { return mode == Qam64 || mode == Qam256; }
}  // namespace Mode

// Lock flags.
namespace Lock {
constexpr int16_t Locked = 1;
constexpr int16_t NotLocked = 0;
constexpr int16_t NotApplicable = -1;
}  // namespace Lock

// Colours with red in the lowest byte.
namespace Color {
constexpr int32_t Green = 0x00FF00;
constexpr int32_t Yellow = 0x00FFFF;
constexpr int32_t Orange = 0x0080FF;
constexpr int32_t Red = 0x0000FF;
constexpr int32_t Grey = 0x808080;
constexpr int32_t DarkGrey = 0x404040;  // a mode the driver does not colour
constexpr int32_t LampGreen = 0x00C000;
constexpr int32_t Black = 0;
}  // namespace Color

// Text of a mode in the mode label; empty for codes without one.
std::string ModeText(int16_t mode);

// The DVB-T transmission parameters, each with its texts by code.
enum class TpsField { Modulation, Hierarchy, CodeRate, Guard, TransmissionMode, SelectHPLP };
// Text of a transmission parameter's code (for SelectHPLP, the caption of the
// code-rate key label); empty for an unknown code, which leaves the label as
// it was.
std::string TpsText(TpsField field, int16_t code);
