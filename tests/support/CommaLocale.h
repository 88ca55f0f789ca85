// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>

#include <clocale>
#include <string>

// Runs a test with the process in a locale whose decimal point is a comma,
// as the toolkit leaves it for a German user, and goes back to "C" after.
class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
      GTEST_SKIP() << "locale de_DE.UTF-8 is not generated (locale-gen)";
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};
