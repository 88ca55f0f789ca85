// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

// A fresh folder in the temp folder, removed with what it holds at the end.
struct TempFolder {
  inline static int made = 0;
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("quovis_" + std::to_string(::getpid()) + "_" + std::to_string(made++));
  TempFolder() { std::filesystem::create_directories(path); }
  ~TempFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path operator/(const std::string& name) const { return path / name; }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path))
      names.insert(e.path().filename());
    return names;
  }
};
