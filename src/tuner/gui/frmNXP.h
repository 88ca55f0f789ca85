// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>
#include <array>

#include "tuner/RegisterEditor.h"

class Bus;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

// The tuner register window: the tuner's 39 registers in five columns, the
// selected register bit by bit, AGC gains, power level and temperature, a
// one-second poll, and the snapshot panel beyond the narrow width. Every
// event goes to the editor state; the controls then show that state.
class frmNXP : public QWidget {
  Q_OBJECT

 public:
  // Read-only, every control that would write is disabled and says why.
  explicit frmNXP(Bus& bus, QWidget* parent = nullptr, bool readOnly = false);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void BuildSnapshotPanel();
  void Connect();
  // Runs one editor action, then shows the state it left.
  template <typename Action>
  void Do(Action action) {
    action();
    Show();
  }
  void Show();
  void ShowSnapshots();

  RegisterEditor editor_;
  QTimer* tmrPoll_;

  QGroupBox* FrameTDA829x_;
  QCheckBox* chkPassthru_;
  QCheckBox* chkPollThermo_;
  QPushButton* BuThermometer_;
  QLabel* LaThermo_;
  QCheckBox* chkPollPwrLvl_;
  QPushButton* BuReadPwrLvl_;
  QLabel* LaAGC1gain_;
  QLabel* LaAGC2gain_;
  QLabel* LaRFAGCgain_;
  QPushButton* BuRefresh_;
  QCheckBox* chkPoll_;
  QLabel* LaStatus_;  // says when no tuner was found
  std::array<QLabel*, RegisterEditor::kRegisters> RegLabel_;
  std::array<QLineEdit*, RegisterEditor::kRegisters> RegVal_;
  QPushButton* BuWrite_;
  QGroupBox* RegisterFrame00_;
  QComboBox* ComboReg_;
  QLineEdit* TextReg_;
  std::array<QCheckBox*, 8> Check00_;
  QPushButton* BuRegReset_;
  QPushButton* BuSnapshot_;

  std::array<QListWidget*, 2> ListRegs_;
  std::array<QPushButton*, 2> BuSnapRegs_;
  QCheckBox* chkPollSnap1_;
  QListWidget* ListRegsDiff_;
  std::array<QLabel*, 2> LaListRegsBinarySelected_;
  std::array<QLabel*, 2> LaSnapshotArrow_;
};
