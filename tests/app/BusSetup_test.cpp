// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BusSetup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

// The real kernel: --bus names a path, and only an i2c-dev node is opened;
// /dev/null is refused before its open, on its device number.
TEST(BusSetup, ADevicePathThatIsNoI2cAdapterIsRefusedWithItsReason) {
  char file[] = "/tmp/quovis-bus-XXXXXX";
  int fd = mkstemp(file);
  ASSERT_GE(fd, 0);
  close(fd);
  struct Case {
    std::string path, error;
  };
  const Case cases[] = {
      {file, std::string("I2C bus ") + file + " is not a character device"},
      {"/dev/null",
       "I2C bus /dev/null is not an i2c-dev node (device 1:3; i2c-dev nodes have major 89 or are "
       "listed in /sys/class/i2c-dev)"},
  };
  for (const Case& c : cases) {
    std::ostringstream trace;
    BusBackend backend;
    std::string error;
    EXPECT_FALSE(OpenBusBackend(c.path, false, false, trace, backend, error));
    EXPECT_EQ(error, c.error);
  }
  std::remove(file);
}
