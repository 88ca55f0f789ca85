// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/gui/ToneDevice.h"

#include <cstring>
#include <vector>

ToneDevice::ToneDevice(int sampleRate, QObject* parent)
    : QIODevice(parent), generator_(sampleRate) {}

// The tone never runs out: as much as a pull asks for.
qint64 ToneDevice::bytesAvailable() const { return (1 << 16) + QIODevice::bytesAvailable(); }

qint64 ToneDevice::readData(char* data, qint64 maxSize) {
  std::vector<int16_t> samples(size_t(maxSize) / sizeof(int16_t));
  generator_.Fill(hz_, samples);
  const qint64 bytes = qint64(samples.size() * sizeof(int16_t));
  std::memcpy(data, samples.data(), size_t(bytes));
  return bytes;
}
