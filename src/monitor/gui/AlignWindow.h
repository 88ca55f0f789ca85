// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAudioDevice>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "monitor/Alignment.h"
#include "monitor/Monitor.h"

class QAudioSink;
class QCheckBox;
class QLabel;
class ToneDevice;

// Pointing an aerial: the SNR in large figures, its peak and the margin over
// the mode's threshold, polled every 200 ms while shown, and a tone whose
// pitch follows the margin. Every poll of the monitor counts toward the peak.
class AlignWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kPollMs = 200;
  static constexpr int kSampleRate = 48000;

  // findOutput: where the tone plays, asked when the window is first shown
  // (so that a run that never aligns never wakes the sound system); a null
  // device for none, which the window says.
  AlignWindow(Monitor& monitor, std::function<QAudioDevice()> findOutput,
              QWidget* parent = nullptr);
  ~AlignWindow() override;

  // Another place for the tone, taken at the next showing (a test's none).
  void SetOutputFinder(std::function<QAudioDevice()> findOutput) {
    findOutput_ = std::move(findOutput);
    output_.reset();
  }
  const AlignFigures& figures() const { return alignment_.figures(); }
  // The tone's pitch now (Hz, 0 silent), sounding or not.
  double pitch() const { return pitch_; }
  QTimer& tmrAlign() { return timer_; }

 signals:
  // A poll of this window's timer has run.
  void polled();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Show();
  void StartSound();
  void StopSound();

  Monitor& monitor_;
  Alignment alignment_;
  std::function<QAudioDevice()> findOutput_;
  std::optional<QAudioDevice> output_;
  QTimer timer_;
  double pitch_ = 0;
  QLabel *snr_, *peak_, *margin_, *tone_, *sound_;
  QCheckBox* mute_;
  ToneDevice* toneDevice_ = nullptr;
  QAudioSink* sink_ = nullptr;
};
