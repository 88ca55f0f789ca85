// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/gui/frmNXP.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include "bus/ReadOnlyI2cLibrary.h"
#include "monitor/gui/Twips.h"
#include "tuner/HexEntry.h"

namespace {
constexpr int kHeight = 6135;  // twips, with a status line at the bottom
const QColor kYellow(255, 255, 0);
const QColor kNotWritten(255, 128, 128);

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }
QString Indexed(const char* name, int i) { return QString("%1(%2)").arg(name).arg(i); }

template <typename W>
W* Place(W* widget, const QString& name, QRect twips) {
  widget->setObjectName(name);
  widget->setGeometry(twips);
  return widget;
}
QGroupBox* Frame(QWidget* parent, const QString& name, const QString& caption, QRect twips) {
  return Place(new QGroupBox(caption, parent), name, twips);
}
QPushButton* Button(QWidget* parent, const QString& name, const QString& caption, QRect twips) {
  return Place(new QPushButton(caption, parent), name, twips);
}
QCheckBox* Check(QWidget* parent, const QString& name, const QString& caption, QRect twips) {
  return Place(new QCheckBox(caption, parent), name, twips);
}
QLabel* Label(QWidget* parent, const QString& name, const QString& caption, QRect twips) {
  return Place(new QLabel(caption, parent), name, twips);
}

void SetLines(QListWidget* list, const std::vector<std::string>& lines) {
  bool same = list->count() == int(lines.size());
  for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == Q(lines[i]);
  if (same) return;
  QSignalBlocker block(list);
  list->clear();
  for (const auto& line : lines) list->addItem(Q(line));
}
void SetRow(QListWidget* list, int row) {
  if (list->currentRow() == row) return;
  QSignalBlocker block(list);
  list->setCurrentRow(row);
}
}  // namespace

frmNXP::frmNXP(Bus& bus, QWidget* parent, bool readOnly) : QWidget(parent), editor_(bus, readOnly) {
  setObjectName("frmNXP");
  setWindowTitle(RegisterEditor::kTitle);
  QFont small = font();
  small.setPointSize(8);
  setFont(small);
  tmrPoll_ = new QTimer(this);
  tmrPoll_->setObjectName("tmrPoll");
  Build();
  BuildSnapshotPanel();
  Connect();
  if (readOnly)
    for (QWidget* control : std::initializer_list<QWidget*>{
             chkPassthru_, chkPollThermo_, BuThermometer_, chkPollPwrLvl_, BuReadPwrLvl_, BuWrite_})
      control->setToolTip(Q(kReadOnlyNote));
  Do([&] { editor_.Load(); });
}

void frmNXP::Build() {
  FrameTDA829x_ = Frame(this, "FrameTDA829x", "TDA829x", TwipRect(60, 60, 1620, 1695));
  chkPassthru_ =
      Check(FrameTDA829x_, "chkPassthru", "i2c pass-thru", TwipRect(120, 300, 1440, 255));

  auto* frThermometer = Frame(this, "frThermometer", "", TwipRect(1740, 60, 1620, 1695));
  chkPollThermo_ = Check(frThermometer, "chkPollThermo", "thermo", TwipRect(120, 180, 1300, 255));
  BuThermometer_ =
      Button(frThermometer, "BuThermometer", "     read thermo", TwipRect(120, 480, 1440, 375));
  LaThermo_ = Label(frThermometer, "LaThermo", "", TwipRect(120, 960, 1440, 255));

  auto* FrPowerLevel = Frame(this, "FrPowerLevel", "", TwipRect(3420, 60, 2460, 1695));
  chkPollPwrLvl_ = Check(FrPowerLevel, "chkPollPwrLvl", "power", TwipRect(120, 180, 1300, 255));
  BuReadPwrLvl_ =
      Button(FrPowerLevel, "BuReadPwrLvl", "    read power level", TwipRect(120, 480, 2220, 375));
  LaAGC1gain_ = Label(FrPowerLevel, "LaAGC1gain", "agc1 gain:", TwipRect(120, 930, 2280, 225));
  LaAGC2gain_ = Label(FrPowerLevel, "LaAGC2gain", "agc2 gain:", TwipRect(120, 1155, 2280, 225));
  LaRFAGCgain_ = Label(FrPowerLevel, "LaRFAGCgain", "rfagc gain:", TwipRect(120, 1380, 2280, 225));

  auto* FrameUpdate = Frame(this, "FrameUpdate", "", TwipRect(5940, 60, 1380, 1695));
  BuRefresh_ = Button(FrameUpdate, "BuRefresh", "Refresh", TwipRect(120, 240, 1140, 375));
  chkPoll_ = Check(FrameUpdate, "chkPoll", "Poll", TwipRect(120, 780, 1140, 255));

  // Five columns of eight, register 0 at the top left.
  auto* FrameRegs = Frame(this, "FrameRegs", "", TwipRect(60, 1815, 7320, 2760));
  for (int i = 0; i < RegisterEditor::kRegisters; ++i) {
    int x = 120 + (i / 8) * 1440, y = 240 + (i % 8) * 300;
    RegLabel_[i] = Label(FrameRegs, Indexed("RegLabel", i), Q(tda18271::RegisterName(i)),
                         TwipRect(x, y, 840, 285));
    RegLabel_[i]->setAutoFillBackground(true);
    RegVal_[i] =
        Place(new QLineEdit(FrameRegs), Indexed("RegVal", i), TwipRect(x + 870, y, 450, 285));
    RegVal_[i]->installEventFilter(this);
  }
  BuWrite_ = Button(FrameRegs, "BuWrite", "Write All", TwipRect(120 + 4 * 1440, 2340, 1320, 345));

  RegisterFrame00_ = Frame(this, "RegisterFrame00", "Reg", TwipRect(60, 4635, 7320, 1140));
  ComboReg_ = Place(new QComboBox(RegisterFrame00_), "ComboReg", TwipRect(120, 300, 900, 315));
  ComboReg_->setEditable(true);
  ComboReg_->setInsertPolicy(QComboBox::NoInsert);
  for (int i = 0; i < RegisterEditor::kRegisters; ++i) ComboReg_->addItem(Q(Hex2(i)));
  ComboReg_->setCurrentIndex(-1);
  ComboReg_->setEditText("");
  ComboReg_->installEventFilter(this);
  ComboReg_->lineEdit()->installEventFilter(this);
  TextReg_ = Place(new QLineEdit(RegisterFrame00_), "TextReg", TwipRect(1080, 300, 540, 315));
  TextReg_->installEventFilter(this);
  for (int k = 0; k < 8; ++k)
    Check00_[k] = Check(RegisterFrame00_, Indexed("Check00", k), "",
                        TwipRect(1800 + (7 - k) * 300, 330, 255, 255));
  BuRegReset_ =
      Button(RegisterFrame00_, "BuRegReset", "reset register", TwipRect(120, 690, 1500, 345));

  BuSnapshot_ = Button(this, "BuSnapshot", "DUMP", TwipRect(7380, 60, 600, kHeight - 120));
  // The window's status line, under everything else.
  LaStatus_ = Label(this, "LaStatus", "", TwipRect(120, 5820, 7200, 255));
}

// Beyond the narrow width: two snapshot panes with the difference list and
// the bit patterns between them.
void frmNXP::BuildSnapshotPanel() {
  const int paneX[2] = {8040, 10680};
  for (int p = 0; p < 2; ++p) {
    auto* frame =
        Frame(this, Indexed("FrameSnapshot", p), "", TwipRect(paneX[p], 60, 1260, kHeight - 120));
    ListRegs_[p] =
        Place(new QListWidget(frame), Indexed("ListRegs", p), TwipRect(60, 120, 1140, 4800));
    ListRegs_[p]->hide();
    BuSnapRegs_[p] = Button(frame, Indexed("BuSnapRegs", p), p == 0 ? "snap" : "      snap",
                            TwipRect(60, 5040, 1140, 375));
  }
  chkPollSnap1_ =
      Check(BuSnapRegs_[1]->parentWidget(), "chkPollSnap1", "", TwipRect(120, 5100, 255, 255));
  chkPollSnap1_->raise();

  ListRegsDiff_ = Place(new QListWidget(this), "ListRegsDiff", TwipRect(9360, 180, 1260, 4200));
  ListRegsDiff_->hide();
  LaListRegsBinarySelected_[0] =
      Label(this, "LaListRegsBinarySelected(0)", "", TwipRect(9630, 4500, 900, 255));
  LaListRegsBinarySelected_[1] =
      Label(this, "LaListRegsBinarySelected(1)", "", TwipRect(9450, 4800, 900, 255));
  LaSnapshotArrow_[0] = Label(this, "LaSnapshotArrow(0)", "-->", TwipRect(9360, 4500, 270, 255));
  LaSnapshotArrow_[1] = Label(this, "LaSnapshotArrow(1)", "<--", TwipRect(10350, 4800, 270, 255));
  for (int p = 0; p < 2; ++p) {
    LaListRegsBinarySelected_[p]->hide();
    LaSnapshotArrow_[p]->hide();
  }
}

void frmNXP::Connect() {
  connect(chkPassthru_, &QCheckBox::clicked, this,
          [this](bool on) { Do([&] { editor_.ClickPassthru(on); }); });
  connect(BuThermometer_, &QPushButton::clicked, this,
          [this] { Do([&] { editor_.ClickThermometer(); }); });
  connect(BuReadPwrLvl_, &QPushButton::clicked, this,
          [this] { Do([&] { editor_.ClickReadPowerLevel(); }); });
  connect(BuRefresh_, &QPushButton::clicked, this, [this] { Do([&] { editor_.Refresh(); }); });
  connect(tmrPoll_, &QTimer::timeout, this, [this] { Do([&] { editor_.Refresh(); }); });
  connect(chkPoll_, &QCheckBox::clicked, this,
          [this](bool on) { Do([&] { editor_.ClickPoll(on); }); });
  connect(chkPollThermo_, &QCheckBox::clicked, this,
          [this](bool on) { Do([&] { editor_.ClickPollThermo(on); }); });
  connect(chkPollPwrLvl_, &QCheckBox::clicked, this,
          [this](bool on) { Do([&] { editor_.ClickPollPowerLevel(on); }); });
  connect(chkPollSnap1_, &QCheckBox::clicked, this,
          [this](bool on) { Do([&] { editor_.ClickPollSnap1(on); }); });
  for (int i = 0; i < RegisterEditor::kRegisters; ++i)
    connect(RegVal_[i], &QLineEdit::textEdited, this,
            [this, i](const QString& text) { Do([&] { editor_.EditValue(i, S(text)); }); });
  connect(ComboReg_->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& text) { Do([&] { editor_.EditCombo(S(text)); }); });
  connect(ComboReg_, &QComboBox::activated, this,
          [this](int index) { Do([&] { editor_.EditCombo(S(ComboReg_->itemText(index))); }); });
  connect(TextReg_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Do([&] { editor_.EditDetail(S(text)); }); });
  // Only a click on a bit box recomputes the value; showing a value does not.
  for (int k = 0; k < 8; ++k)
    connect(Check00_[k], &QCheckBox::clicked, this, [this] {
      std::array<bool, 8> ticked;
      for (int b = 0; b < 8; ++b) ticked[b] = Check00_[b]->isChecked();
      Do([&] { editor_.ReleaseBits(ticked); });
    });
  connect(BuRegReset_, &QPushButton::clicked, this,
          [this] { Do([&] { editor_.ResetRegister(); }); });
  connect(BuWrite_, &QPushButton::clicked, this, [this] { Do([&] { editor_.WriteAll(); }); });
  connect(BuSnapshot_, &QPushButton::clicked, this, [this] { Do([&] { editor_.ToggleWidth(); }); });
  for (int p = 0; p < 2; ++p) {
    connect(BuSnapRegs_[p], &QPushButton::clicked, this,
            [this, p] { Do([&] { editor_.Snap(p); }); });
    connect(ListRegs_[p], &QListWidget::currentRowChanged, this,
            [this, p](int row) { Do([&] { editor_.PickSnapshotLine(p, row); }); });
    connect(ListRegs_[p], &QListWidget::itemClicked, this, [this, p](QListWidgetItem* item) {
      Do([&] { editor_.PickSnapshotLine(p, ListRegs_[p]->row(item)); });
    });
  }
  connect(ListRegsDiff_, &QListWidget::currentRowChanged, this,
          [this](int row) { Do([&] { editor_.PickDifferenceLine(row); }); });
  connect(ListRegsDiff_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    Do([&] { editor_.PickDifferenceLine(ListRegsDiff_->row(item)); });
  });
}

bool frmNXP::eventFilter(QObject* watched, QEvent* event) {
  bool in = event->type() == QEvent::FocusIn, out = event->type() == QEvent::FocusOut;
  if (in || out) {
    bool combo = watched == ComboReg_ || watched == ComboReg_->lineEdit();
    if (combo && in) Do([&] { editor_.FocusCombo(); });
    if (combo && out) Do([&] { editor_.LeaveCombo(); });
    if (watched == TextReg_ && out) Do([&] { editor_.LeaveDetail(); });
    for (int i = 0; in && i < RegisterEditor::kRegisters; ++i)
      if (watched == RegVal_[i]) Do([&] { editor_.FocusValue(i); });
  }
  return QWidget::eventFilter(watched, event);
}

void frmNXP::Show() {
  const RegisterEditor::State& s = editor_.state();
  setWindowTitle(Q(s.caption));
  setFixedSize(Twips(s.width), Twips(kHeight));
  BuSnapshot_->setText(Q(s.snapshotButton));
  FrameTDA829x_->setTitle(Q(s.ifDemodFrame));
  FrameTDA829x_->setVisible(s.ifDemodFrameVisible);

  chkPassthru_->setChecked(s.passthru);
  chkPoll_->setChecked(s.poll);
  chkPollThermo_->setChecked(s.pollThermo);
  chkPollPwrLvl_->setChecked(s.pollPower);
  chkPollSnap1_->setChecked(s.pollSnap1);
  BuRefresh_->setEnabled(editor_.refreshEnabled());
  BuThermometer_->setEnabled(editor_.thermometerEnabled());
  BuReadPwrLvl_->setEnabled(editor_.powerLevelEnabled());
  BuSnapRegs_[1]->setEnabled(editor_.snap1Enabled());
  // Nothing that would reach the tuner or its gate is offered without a tuner.
  bool found = editor_.tunerFound();
  for (QWidget* control : std::initializer_list<QWidget*>{chkPoll_, chkPollSnap1_, BuRegReset_})
    control->setEnabled(found);
  // Read-only, the controls that write stay disabled even with a tuner.
  for (QWidget* control :
       std::initializer_list<QWidget*>{chkPassthru_, chkPollThermo_, chkPollPwrLvl_})
    control->setEnabled(editor_.writesAllowed());
  BuWrite_->setEnabled(editor_.writeAllEnabled());
  LaStatus_->setText(Q(s.status));
  LaStatus_->setVisible(!s.status.empty());
  if (editor_.pollInterval() == 0)
    tmrPoll_->stop();
  else if (!tmrPoll_->isActive() || tmrPoll_->interval() != editor_.pollInterval())
    tmrPoll_->start(editor_.pollInterval());

  LaThermo_->setText(Q(s.thermometer));
  LaAGC1gain_->setText(Q(s.agc1));
  LaAGC2gain_->setText(Q(s.agc2));
  LaRFAGCgain_->setText(Q(s.rfagc));
  for (QLabel* gain : {LaAGC1gain_, LaAGC2gain_, LaRFAGCgain_}) gain->setVisible(s.gainsVisible);

  for (int i = 0; i < RegisterEditor::kRegisters; ++i) {
    if (RegVal_[i]->text() != Q(s.values[i])) RegVal_[i]->setText(Q(s.values[i]));
    QPalette colours = RegLabel_[i]->palette();
    QColor mark = s.notWritten[i] ? kNotWritten
                  : s.mismatch[i] ? kYellow
                                  : palette().color(QPalette::Button);
    colours.setColor(QPalette::Window, mark);
    RegLabel_[i]->setPalette(colours);
    RegVal_[i]->setToolTip(s.notWritten[i] ? "Not written" : "");
  }
  if (ComboReg_->currentText() != Q(s.combo)) ComboReg_->setEditText(Q(s.combo));
  if (TextReg_->text() != Q(s.detail)) TextReg_->setText(Q(s.detail));
  for (int k = 0; k < 8; ++k) Check00_[k]->setChecked(s.bits[k]);
  RegisterFrame00_->setTitle(Q(s.registerFrame));
  ShowSnapshots();
}

void frmNXP::ShowSnapshots() {
  const RegisterSnapshots& snaps = editor_.snapshots();
  for (int p = 0; p < 2; ++p) {
    const RegisterSnapshots::Pane& pane = snaps.pane(p);
    SetLines(ListRegs_[p], pane.lines);
    SetRow(ListRegs_[p], pane.selected);
    ListRegs_[p]->setVisible(pane.visible);
    LaListRegsBinarySelected_[p]->setText(Q(pane.bits));
    LaListRegsBinarySelected_[p]->setVisible(pane.bitsVisible);
    LaSnapshotArrow_[p]->setVisible(pane.bitsVisible);
  }
  SetLines(ListRegsDiff_, snaps.differences());
  SetRow(ListRegsDiff_, snaps.differenceSelected());
  ListRegsDiff_->setVisible(snaps.differencesVisible());
}
