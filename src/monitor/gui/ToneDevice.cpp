// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/gui/ToneDevice.h"

#include <cstring>
#include <vector>

ToneDevice::ToneDevice(int sampleRate, QObject* parent)
    : QIODevice(parent), generator_(sampleRate) {}

// The tone never runs out: as much as a pull asks for.
qint64 ToneDevice::bytesAvailable() const { return (1 << 16) + QIODevice::bytesAvailable(); }

qint64 ToneDevice::readData(char* data, qint64 maxSize) {
  const size_t bytes = size_t(maxSize) / sizeof(int16_t) * sizeof(int16_t);
  std::vector<int16_t> samples(bytes / sizeof(int16_t));
  generator_.Fill(hz_, samples);
  std::memcpy(data, samples.data(), bytes);
  return qint64(bytes);
}
