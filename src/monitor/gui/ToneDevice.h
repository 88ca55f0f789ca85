// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIODevice>

#include "monitor/AlignTone.h"

// The alignment tone as an endless stream of 16-bit mono samples that a
// sound output pulls (on the thread it lives on, the window's); the pitch
// may change between pulls.
class ToneDevice : public QIODevice {
  Q_OBJECT
 public:
  explicit ToneDevice(int sampleRate, QObject* parent = nullptr);
  // Hz; 0 is silence.
  void SetPitch(double hz) { hz_ = hz; }
  double pitch() const { return hz_; }
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  AlignTone::Generator generator_;
  double hz_ = 0;
};
