// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "app/BoardChoices.h"

class QDialogButtonBox;
class QListWidget;

// "Choose a board": one row per choice, the ones that may not be opened
// greyed with what to do about it. The first row is selected. Picking the
// board-file entry asks for the file.
class BoardDialog : public QDialog {
  Q_OBJECT
 public:
  // Asks for a board file; empty when the user gives up.
  using AskFile = std::function<QString(QWidget* parent)>;

  explicit BoardDialog(std::vector<BoardChoice> choices, QWidget* parent = nullptr,
                       AskFile askFile = {});

  // The --bus value of the board picked; empty until one is.
  const std::string& bus() const { return bus_; }
  QListWidget* list() const { return list_; }
  // What the Open button does.
  void Pick();

 private:
  std::vector<BoardChoice> choices_;
  AskFile askFile_;
  QListWidget* list_;
  QDialogButtonBox* buttons_;
  std::string bus_;
};
