// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/I2cAdapters.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/FakeSysfs.h"

namespace fs = std::filesystem;

namespace {

// A user who is neither root nor the owner of the nodes, in group 100.
const Credentials kUser{1000, {1000, 100}};

TEST(I2cAdapters, ListsWhatTheKernelShowsAndWhoMayOpenIt) {
  FakeSysfs machine;
  machine.KernelSupport();
  machine.Adapter(3, "SMBus I801 adapter at f000", 0600);        // root's only
  machine.Adapter(0, "cx23885[0]", 0660, 0, 100);                // the user's group
  machine.Adapter(1, "cx23885[1]", -1);                          // no /dev node
  machine.Adapter(2, "NVIDIA i2c adapter 2", 0000, 1000, 1000);  // the user's, but mode 000
  machine.Adapter(11, "i915 gmbus dpc", 0666);                   // anyone
  machine.Adapter(12, "dp aux", 0640, 0, 100);                   // group may only read
  machine.Adapter(13, "owner only", 0066, 1000, 100);            // owner bits rule the owner
  fs::create_directories(machine.root / "sys/class/i2c-adapter/not-an-adapter");

  I2cAdapterList list = ListI2cAdapters(machine.roots, kUser);
  ASSERT_TRUE(list.kernelSupport);
  // Root opens every node there is, whatever its mode.
  for (const auto& a : ListI2cAdapters(machine.roots, Credentials{0, {0}}).adapters)
    EXPECT_EQ(a.mayOpen, !a.node.empty()) << a.name;
  // The table goes to stdout, what to do about it to stderr; nodes under the
  // test's root are shown as in /dev, for fixed column widths.
  for (auto& a : list.adapters)
    if (!a.node.empty()) {
      EXPECT_EQ(a.node, machine.Node(a.number));
      a.node = "/dev/i2c-" + std::to_string(a.number);
    }
  AdapterListReport report = AdapterListText(list);
  EXPECT_EQ(report.table,
            "bus  device        access         adapter name\n"
            "0    /dev/i2c-0    may open       cx23885[0]\n"
            "1    no /dev node  -              cx23885[1]\n"
            "2    /dev/i2c-2    no permission  NVIDIA i2c adapter 2\n"
            "3    /dev/i2c-3    no permission  SMBus I801 adapter at f000\n"
            "11   /dev/i2c-11   may open       i915 gmbus dpc\n"
            "12   /dev/i2c-12   no permission  dp aux\n"
            "13   /dev/i2c-13   no permission  owner only\n");
  EXPECT_EQ(report.notes,
            "Buses without a /dev node need the i2c-dev module: sudo modprobe i2c-dev\n"
            "To open a bus without root, join the i2c group (sudo adduser $USER i2c) and log in "
            "again.\n"
            "Open one with --bus=N, --bus=i2c-N or --bus=\"<adapter name>\".\n");
  list.adapters = {{4, "cx23885[0]", "/dev/i2c-4", true}};
  EXPECT_EQ(AdapterListText(list).notes,
            "Open one with --bus=N, --bus=i2c-N or --bus=\"<adapter name>\".\n");
}

TEST(I2cAdapters, ReportSaysPlainlyWhenThereIsNoAdapter) {
  FakeSysfs machine;
  AdapterListReport noKernel = AdapterListText(ListI2cAdapters(machine.roots, kUser));
  EXPECT_EQ(noKernel.table, "");
  EXPECT_EQ(
      noKernel.notes,
      "No I2C support in this kernel: /sys/class/i2c-adapter does not exist.\n"
      "Load the I2C modules (sudo modprobe i2c-dev) and the card's driver, then try again.\n");
  machine.KernelSupport();
  AdapterListReport none = AdapterListText(ListI2cAdapters(machine.roots, kUser));
  EXPECT_EQ(none.table, "");
  EXPECT_EQ(none.notes,
            "No I2C adapters: the kernel has I2C support but lists no adapter.\n"
            "Is the card's driver loaded?\n");
}

TEST(I2cAdapters, BusByNumberNameOrPath) {
  FakeSysfs machine;
  machine.KernelSupport();
  machine.Adapter(0, "SMBus I801 adapter at f000");
  machine.Adapter(7, "cx23885[0]");
  machine.Adapter(8, "cx23885[1]", -1);
  I2cAdapterList list = ListI2cAdapters(machine.roots, kUser);
  struct Case {
    std::string bus, device;
  } cases[] = {
      {"7", machine.Node(7)},
      {"i2c-7", machine.Node(7)},
      {"cx23885[0]", machine.Node(7)},
      {"cx23885[1]", machine.Node(8)},  // no node yet: opening it says why
      {"12", machine.Node(12)},         // a number needs no listing
      {"/dev/i2c-3", "/dev/i2c-3"},
      {"sim:s5h1409", "sim:s5h1409"},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string device, error;
    EXPECT_TRUE(ResolveBusName(c.bus, machine.roots, list, device, error)) << c.bus << error;
    EXPECT_EQ(device, c.device) << c.bus;
  }
  for (const char* unknown : {"CX23885[0]", "cx23885", "i2c-x", "i2c-"}) {
    std::string device, error;
    EXPECT_FALSE(ResolveBusName(unknown, machine.roots, list, device, error)) << unknown;
    EXPECT_EQ(error, std::string("No I2C adapter is named \"") + unknown +
                         "\"; the adapters are:\n"
                         "  i2c-0 \"SMBus I801 adapter at f000\"\n"
                         "  i2c-7 \"cx23885[0]\"\n"
                         "  i2c-8 \"cx23885[1]\"");
  }
  std::string device, error;
  EXPECT_FALSE(
      ResolveBusName("cx23885[0]", machine.roots, I2cAdapterList{true, {}}, device, error));
  EXPECT_EQ(error, "No I2C adapter is named \"cx23885[0]\": the kernel lists no I2C adapter");
  EXPECT_FALSE(ResolveBusName("cx23885[0]", machine.roots, I2cAdapterList{}, device, error));
  EXPECT_EQ(error,
            "No I2C adapter is named \"cx23885[0]\": this kernel has no I2C support "
            "(/sys/class/i2c-adapter does not exist)");
}

}  // namespace
