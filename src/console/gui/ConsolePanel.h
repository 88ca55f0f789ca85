// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>

#include "bus/Bus.h"
#include "console/ConsoleView.h"
#include "console/I2cConsole.h"

class QLineEdit;
class QListWidget;
class QGridLayout;

// The I2C console's controls: the log on top, the Address, Subaddress,
// Data and Read Count boxes under it, then the six command buttons. Boxes
// are read when they lose focus; the log can be copied to the clipboard
// (context menu, or Ctrl+C for the selected lines).
class ConsolePanel : public QWidget, private ConsoleView {
  Q_OBJECT

 public:
  // Read-only, the write buttons say why they send nothing.
  explicit ConsolePanel(Bus& bus, QWidget* parent = nullptr, bool readOnly = false);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AppendLog(const std::string& line) override;
  void ClearLog() override;
  void SetBoxText(ConsoleBox box, const std::string& text) override;

  QLineEdit* AddBox(QGridLayout* rows, int row, const char* labelName, const QString& caption,
                    const char* boxName);
  void LeaveBox(QLineEdit* box);
  void Scan();
  // The selected lines, or the whole log when none is selected.
  void CopyLog(bool selectedOnly);

  I2cConsole console_;
  QListWidget* lstLog;
  QLineEdit* txtAddress;
  QLineEdit* txtSubAddr;
  QLineEdit* txtData;
  QLineEdit* txtReadCount;
};
