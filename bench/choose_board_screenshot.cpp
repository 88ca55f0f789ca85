// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the "Choose a board" dialog over a made-up machine (a PCI card with
// two frontends, two USB sticks, the kernel's virtual test card, a card
// without I2C, the chipset's SMBus) as a user in the video and i2c groups
// sees it, the card's first frontend remembered, and saves it as a picture
// (for the README): quovis_choose_board_screenshot FILE.png
#include <QApplication>
#include <iostream>

#include "app/BoardChoices.h"
#include "app/gui/BoardDialog.h"
#include "support/FakeCards.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: quovis_choose_board_screenshot FILE.png\n";
    return 2;
  }
  FakeSysfs machine;
  BuildFakeCards(machine);
  std::vector<BoardChoice> choices = ListBoardChoices(machine.roots, kCardUser);
  PutRememberedFirst(choices, "dvb0.0");
  BoardDialog dialog(std::move(choices));
  dialog.resize(620, 640);
  dialog.show();
  for (int i = 0; i < 5; ++i) app.processEvents();
  if (!dialog.grab().save(argv[1])) {
    std::cerr << "cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
