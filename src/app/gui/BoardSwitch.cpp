// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/BoardSwitch.h"

#include <QMessageBox>
#include <QSettings>

#include "app/BoardChoices.h"
#include "app/Entry.h"
#include "app/Session.h"
#include "app/gui/BoardDialog.h"

namespace {

const char* const kBusKey = "board/bus";

QSettings Settings() { return QSettings("quovis", "quovis"); }

}  // namespace

std::string RememberedBus() { return Settings().value(kBusKey).toString().toStdString(); }

void RememberBus(const std::string& bus) {
  Settings().setValue(kBusKey, QString::fromStdString(bus));
}

BoardAsking DialogAsking(QWidget* parent) {
  BoardAsking asking;
  asking.ask = [parent](const std::string& remembered) -> std::optional<std::string> {
    std::vector<BoardChoice> choices =
        ListBoardChoices(I2cAdapterRoots{}, Credentials::OfThisProcess());
    PutRememberedFirst(choices, remembered);
    BoardDialog dialog(std::move(choices), parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.bus();
  };
  asking.tell = [parent](const std::string& text) {
    QMessageBox::warning(parent, "quovis", QString::fromStdString(text));
  };
  return asking;
}

bool ChooseBoard(Session& session, const BoardAsking& asking, std::ostream& traceOut) {
  for (;;) {
    std::optional<std::string> bus = asking.ask(RememberedBus());
    if (!bus) return false;
    std::string message;
    if (session.SwitchBoard(*bus, traceOut, message)) {
      RememberBus(*bus);
      return true;
    }
    asking.tell(WindowFailureText(message));
  }
}
