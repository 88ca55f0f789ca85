// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <optional>
#include <ostream>
#include <string>

class QWidget;
class Session;

// The board the user last started, kept in the user's settings
// (quovis/quovis.conf in the XDG config folder); empty when none.
std::string RememberedBus();
void RememberBus(const std::string& bus);

// How the user is asked for a board (the remembered one offered first;
// nothing when the user gives up) and told why one did not start.
struct BoardAsking {
  std::function<std::optional<std::string>(const std::string& remembered)> ask;
  std::function<void(const std::string& text)> tell;
};
// The "Choose a board" dialog over this machine's buses, and a message box.
BoardAsking DialogAsking(QWidget* parent);

// Asks until a board starts in the session or the user gives up; each
// failure is told, with what to try, before the list comes again. The
// board that starts is remembered. False when the user gave up.
bool ChooseBoard(Session& session, const BoardAsking& asking, std::ostream& traceOut);
