// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/gui/ConsolePanel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "bus/ReadOnlyI2cLibrary.h"

ConsolePanel::ConsolePanel(Bus& bus, QWidget* parent, bool readOnly)
    : QWidget(parent), console_(bus, *this, readOnly), lstLog(new QListWidget(this)) {
  lstLog->setObjectName("lstLog");
  lstLog->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // One line per entry, laid out in batches so that a long log stays cheap
  // to extend. Each line keeps its own width and is never elided: a line
  // wider than the list is reached with the horizontal scroll bar.
  lstLog->setTextElideMode(Qt::ElideNone);
  lstLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  lstLog->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  lstLog->setLayoutMode(QListView::Batched);
  lstLog->setBatchSize(200);
  lstLog->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* copy = new QAction(tr("Copy"), lstLog);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  connect(copy, &QAction::triggered, this, [this] { CopyLog(true); });
  auto* copyAll = new QAction(tr("Copy All"), lstLog);
  connect(copyAll, &QAction::triggered, this, [this] { CopyLog(false); });
  lstLog->addActions({copy, copyAll});

  auto* rows = new QGridLayout;
  txtAddress = AddBox(rows, 0, "lblAddress", "Address", "txtAddress");
  txtSubAddr = AddBox(rows, 1, "lblSubAddr", "Subaddress", "txtSubAddr");
  txtData = AddBox(rows, 2, "lblData", "Data", "txtData");
  txtReadCount = AddBox(rows, 3, "lblReadCount", "Read Count", "txtReadCount");
  txtReadCount->setText("1");
  rows->setColumnStretch(1, 1);

  auto* buttons = new QGridLayout;
  auto addButton = [&](const char* name, const QString& caption, int row, int column, auto command,
                       bool writes = false) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    if (writes && readOnly) button->setToolTip(QString::fromStdString(kReadOnlyNote));
    buttons->addWidget(button, row, column);
    connect(button, &QPushButton::clicked, this, command);
  };
  addButton("cmdRead", "Read", 0, 0, [this] { console_.Read(); });
  addButton(
      "cmdWrite", "Write", 0, 1, [this] { console_.Write(); }, true);
  addButton("cmdClear", "Clear", 0, 2, [this] { console_.Clear(); });
  addButton("cmdReadNS", "Read N/S", 1, 0, [this] { console_.ReadNS(); });
  addButton(
      "cmdWriteNS", "Write N/S", 1, 1, [this] { console_.WriteNS(); }, true);
  addButton("cmdScan", "Scan", 1, 2, [this] { Scan(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(lstLog, 1);
  layout->addLayout(rows);
  layout->addLayout(buttons);
}

QLineEdit* ConsolePanel::AddBox(QGridLayout* rows, int row, const char* labelName,
                                const QString& caption, const char* boxName) {
  auto* label = new QLabel(caption, this);
  label->setObjectName(labelName);
  auto* box = new QLineEdit(this);
  box->setObjectName(boxName);
  box->installEventFilter(this);
  label->setBuddy(box);
  rows->addWidget(label, row, 0);
  rows->addWidget(box, row, 1);
  return box;
}

bool ConsolePanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    // Switching to another window or opening the box's own menu is not leaving it.
    Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      LeaveBox(qobject_cast<QLineEdit*>(watched));
  }
  return QWidget::eventFilter(watched, event);
}

void ConsolePanel::LeaveBox(QLineEdit* box) {
  std::string text = box->text().toStdString();
  if (box == txtAddress) console_.LeaveAddress(text);
  if (box == txtSubAddr) console_.LeaveSubAddr(text);
  if (box == txtData) console_.LeaveData(text);
  if (box == txtReadCount) console_.LeaveReadCount(text);
}

void ConsolePanel::Scan() {
  // Window events run between addresses and may close the window; the scan
  // must then stop without touching this panel again.
  console_.Scan([self = QPointer<ConsolePanel>(this)] {
    QCoreApplication::processEvents();
    return !self.isNull();
  });
}

void ConsolePanel::AppendLog(const std::string& line) {
  lstLog->addItem(QString::fromStdString(line));
  lstLog->setCurrentRow(lstLog->count() - 1, QItemSelectionModel::ClearAndSelect);
  lstLog->scrollToItem(lstLog->currentItem());
}

void ConsolePanel::ClearLog() { lstLog->clear(); }

void ConsolePanel::SetBoxText(ConsoleBox box, const std::string& text) {
  QLineEdit* target = box == ConsoleBox::Address   ? txtAddress
                      : box == ConsoleBox::SubAddr ? txtSubAddr
                      : box == ConsoleBox::Data    ? txtData
                                                   : txtReadCount;
  target->setText(QString::fromStdString(text));
}

void ConsolePanel::CopyLog(bool selectedOnly) {
  QList<QListWidgetItem*> items =
      selectedOnly ? lstLog->selectedItems() : QList<QListWidgetItem*>{};
  if (items.isEmpty())
    for (int row = 0; row < lstLog->count(); ++row) items.append(lstLog->item(row));
  std::sort(items.begin(), items.end(),
            [this](auto* a, auto* b) { return lstLog->row(a) < lstLog->row(b); });
  QStringList lines;
  for (auto* item : items) lines.append(item->text());
  QApplication::clipboard()->setText(lines.join('\n'));
}
