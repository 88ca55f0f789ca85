// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/gui/AlignWindow.h"

#include <QAudioSink>
#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <cmath>

#include "monitor/AlignTone.h"
#include "monitor/gui/ToneDevice.h"

namespace {

QLabel* Label(const QString& name, QWidget* parent, int points = 0) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignCenter);
  if (points) {
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

QString Db(std::optional<float> value) {
  return value ? QString::fromStdString(DbText(*value)) : "-";
}

}  // namespace

AlignWindow::AlignWindow(Monitor& monitor, std::function<QAudioDevice()> findOutput,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), monitor_(monitor), findOutput_(std::move(findOutput)) {
  setObjectName("frmAlign");
  setWindowTitle("Align");
  snr_ = Label("lblAlignSnr", this, 48);
  peak_ = Label("lblAlignPeak", this, 14);
  margin_ = Label("lblAlignMargin", this, 14);
  tone_ = Label("lblAlignTone", this);
  sound_ = Label("lblAlignSound", this);
  mute_ = new QCheckBox("Mute", this);
  mute_->setObjectName("chkMute");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(snr_);
  layout->addWidget(peak_);
  layout->addWidget(margin_);
  layout->addWidget(tone_);
  auto* soundRow = new QHBoxLayout;
  soundRow->addWidget(mute_);
  soundRow->addWidget(sound_, 1);
  layout->addLayout(soundRow);
  setMinimumWidth(380);

  connect(mute_, &QCheckBox::toggled, this, [this] { Show(); });
  monitor_.AddPollObserver([this](const Reading& reading) {
    alignment_.Update(reading);
    Show();
  });
  connect(&timer_, &QTimer::timeout, this, [this] {
    monitor_.Poll();
    emit polled();
  });
  Show();
}

AlignWindow::~AlignWindow() { StopSound(); }

void AlignWindow::Show() {
  const AlignFigures& f = alignment_.figures();
  snr_->setText(f.answering ? Db(f.snr) : "-");
  peak_->setText("Peak " + Db(f.peak));
  QString margin = "Margin " + QString::fromStdString(MarginText(f));
  margin += f.margin ? " over " + Db(f.threshold)
                     : " (" + QString::fromStdString(NoMarginReason(f)) + ")";
  margin_->setText(margin);
  pitch_ = AlignTone::PitchHz(f.margin);
  tone_->setText(pitch_ > 0 ? QString("Tone %1 Hz").arg(std::lround(pitch_)) : "Tone off");
  if (toneDevice_) toneDevice_->SetPitch(mute_->isChecked() ? 0 : pitch_);
}

void AlignWindow::showEvent(QShowEvent* event) {
  timer_.start(kPollMs);
  StartSound();
  QWidget::showEvent(event);
}

void AlignWindow::hideEvent(QHideEvent* event) {
  timer_.stop();
  StopSound();
  QWidget::hideEvent(event);
}

void AlignWindow::StartSound() {
  if (!output_) output_ = findOutput_();
  if (output_->isNull()) {
    sound_->setText("No sound device: the tone cannot play");
    mute_->setEnabled(false);
    return;
  }
  if (sink_) return;
  QAudioFormat format;
  format.setSampleRate(kSampleRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  if (!output_->isFormatSupported(format)) {
    sound_->setText("The sound device takes no 16-bit mono: the tone cannot play");
    return;
  }
  toneDevice_ = new ToneDevice(kSampleRate, this);
  toneDevice_->open(QIODevice::ReadOnly);
  sink_ = new QAudioSink(*output_, format, this);
  // One poll's worth of sound: the pitch follows the aerial within a poll,
  // and a busy moment of the window does not starve the output.
  sink_->setBufferSize(kSampleRate * int(sizeof(int16_t)) * kPollMs / 1000);
  sink_->start(toneDevice_);
  sound_->setText("");
  Show();
}

void AlignWindow::StopSound() {
  if (!sink_) return;
  sink_->stop();
  delete sink_;
  sink_ = nullptr;
  delete toneDevice_;
  toneDevice_ = nullptr;
}
