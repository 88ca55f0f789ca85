// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/BoardDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString RowText(const BoardChoice& c) {
  QString text = QString::fromStdString(c.label);
  if (!c.whyNot.empty())
    text += QString::fromStdString("\n    " + c.whyNot + ": " + c.todo);
  else if (!c.todo.empty())
    text += QString::fromStdString("\n    " + c.todo);
  return text;
}

QString AskBoardFile(QWidget* parent) {
  return QFileDialog::getOpenFileName(parent, "Open a board file", QString(),
                                      "Board files (*.json)");
}

}  // namespace

BoardDialog::BoardDialog(std::vector<BoardChoice> choices, QWidget* parent, AskFile askFile)
    : QDialog(parent),
      choices_(std::move(choices)),
      askFile_(askFile ? std::move(askFile) : AskFile(AskBoardFile)),
      list_(new QListWidget(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this)) {
  setObjectName("BoardDialog");
  setWindowTitle("Choose a board");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Pick the board to watch. Nothing is opened until you do.", this));
  list_->setObjectName("lstBoards");
  for (const auto& c : choices_) {
    auto* item = new QListWidgetItem(RowText(c), list_);
    if (!c.mayOpen()) item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
  }
  for (int row = 0; row < list_->count(); ++row)
    if (choices_[size_t(row)].mayOpen()) {
      list_->setCurrentRow(row);
      break;
    }
  layout->addWidget(list_);
  layout->addWidget(buttons_);
  resize(560, 420);
  auto updateOpen = [this] {
    int row = list_->currentRow();
    buttons_->button(QDialogButtonBox::Open)
        ->setEnabled(row >= 0 && choices_[size_t(row)].mayOpen());
  };
  updateOpen();
  connect(list_, &QListWidget::currentRowChanged, this, updateOpen);
  connect(list_, &QListWidget::itemActivated, this, &BoardDialog::Pick);
  connect(buttons_, &QDialogButtonBox::accepted, this, &BoardDialog::Pick);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void BoardDialog::Pick() {
  int row = list_->currentRow();
  if (row < 0 || !choices_[size_t(row)].mayOpen()) return;
  const BoardChoice& c = choices_[size_t(row)];
  if (c.bus.empty()) {
    QString file = askFile_(this);
    if (file.isEmpty()) return;
    bus_ = "sim:" + file.toStdString();
  } else {
    bus_ = c.bus;
  }
  accept();
}
