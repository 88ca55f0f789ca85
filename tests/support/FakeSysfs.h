// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bus/I2cAdapters.h"
#include "support/TempFolder.h"

// A fake /sys and /dev laid out as the kernel does: a class entry is a
// relative link to the device's directory under <sys>/devices, an I2C
// adapter's directory sits in its parent device's, a DVB device's in
// <parent>/dvb/ with a "device" link back to the parent.
struct FakeSysfs {
  TempFolder folder;
  const std::filesystem::path root = folder.path;
  I2cAdapterRoots roots{(root / "sys").string(), (root / "dev").string()};
  FakeSysfs() {
    std::filesystem::create_directories(root / "sys");
    std::filesystem::create_directories(root / "dev");
  }
  void KernelSupport() { std::filesystem::create_directories(root / "sys/class/i2c-adapter"); }

  // An adapter listed directly in the class folder; mode < 0 leaves it without a /dev node.
  void Adapter(int n, const std::string& name, int mode = 0660, uid_t owner = 0, gid_t group = 0) {
    std::filesystem::path dir = root / "sys/class/i2c-adapter" / ("i2c-" + std::to_string(n));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "name") << name << "\n";
    MakeNode(Node(n), mode, owner, group);
  }
  // An adapter in the device tree below parent (a path under <sys>/devices);
  // returns its own path there, for the channels of a multiplexer below it.
  std::string AdapterUnder(const std::string& parent, int n, const std::string& name,
                           int mode = 0660, uid_t owner = 0, gid_t group = 0) {
    std::string device = parent + "/i2c-" + std::to_string(n);
    std::filesystem::create_directories(root / "sys/devices" / device);
    std::ofstream(root / "sys/devices" / device / "name") << name << "\n";
    Link("i2c-adapter", "i2c-" + std::to_string(n), device);
    MakeNode(Node(n), mode, owner, group);
    return device;
  }
  // A DVB device registered under parent, e.g. "dvb0.frontend0" or "dvb0.demux0".
  void Dvb(const std::string& parent, const std::string& label, const std::string& node,
           int mode = 0660, uid_t owner = 0, gid_t group = 0) {
    std::string device = parent + "/dvb/" + label;
    std::filesystem::create_directories(root / "sys/devices" / device);
    std::filesystem::create_symlink("../../../" + std::filesystem::path(parent).filename().string(),
                                    root / "sys/devices" / device / "device");
    Link("dvb", label, device);
    MakeNode(node, mode, owner, group);
  }
  std::string Node(int n) const { return roots.dev + "/i2c-" + std::to_string(n); }
  std::string FrontendNode(int a, int f) const {
    return roots.dev + "/dvb/adapter" + std::to_string(a) + "/frontend" + std::to_string(f);
  }

 private:
  void Link(const std::string& cls, const std::string& name, const std::string& device) {
    std::filesystem::create_directories(root / "sys/class" / cls);
    std::filesystem::create_symlink("../../devices/" + device, root / "sys/class" / cls / name);
  }
  static void MakeNode(const std::string& node, int mode, uid_t owner, gid_t group) {
    if (mode < 0) return;
    std::filesystem::create_directories(std::filesystem::path(node).parent_path());
    std::ofstream(node).put('\0');
    ::chmod(node.c_str(), mode_t(mode));
    if (::chown(node.c_str(), owner, group) != 0 && (owner != 0 || group != 0))
      ADD_FAILURE() << "cannot chown " << node;
  }
};
