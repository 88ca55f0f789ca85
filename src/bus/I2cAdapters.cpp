// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/I2cAdapters.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "numbers/Format.h"

namespace fs = std::filesystem;

namespace {

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

}  // namespace

int I2cAdapterNumber(std::string_view name) {
  return name.starts_with("i2c-") ? WholeNumber(name.substr(4)) : -1;
}

Credentials Credentials::OfThisProcess() {
  Credentials who;
  who.uid = geteuid();
  who.groups.push_back(getegid());
  int count = getgroups(0, nullptr);
  if (count > 0) {
    std::vector<gid_t> more(size_t(count), 0);
    count = getgroups(count, more.data());
    if (count > 0) who.groups.insert(who.groups.end(), more.begin(), more.begin() + count);
  }
  return who;
}

// The kernel's own rule: the owner's bits for the owner, else the group's
// bits for a member of the group, else the others' bits.
bool Credentials::MayOpen(const struct stat& node, bool write) const {
  if (uid == 0) return true;
  auto allows = [&](mode_t read, mode_t writeBit) {
    return (node.st_mode & read) && (!write || (node.st_mode & writeBit));
  };
  if (node.st_uid == uid) return allows(S_IRUSR, S_IWUSR);
  if (std::find(groups.begin(), groups.end(), node.st_gid) != groups.end())
    return allows(S_IRGRP, S_IWGRP);
  return allows(S_IROTH, S_IWOTH);
}

I2cAdapterList ListI2cAdapters(const I2cAdapterRoots& roots, const Credentials& who) {
  I2cAdapterList list;
  std::error_code ec;
  fs::path classDir = fs::path(roots.sys) / "class" / "i2c-adapter";
  if (!fs::is_directory(classDir, ec)) return list;
  list.kernelSupport = true;
  for (const auto& entry : fs::directory_iterator(classDir, ec)) {
    int number = I2cAdapterNumber(entry.path().filename().string());
    if (number < 0) continue;
    I2cAdapter adapter;
    adapter.number = number;
    adapter.name = FirstLine(entry.path() / "name");
    fs::path node = fs::path(roots.dev) / ("i2c-" + std::to_string(number));
    struct stat st {};
    if (::stat(node.c_str(), &st) == 0) {
      adapter.node = node.string();
      adapter.mayOpen = who.MayOpen(st, true);
    }
    list.adapters.push_back(adapter);
  }
  std::sort(list.adapters.begin(), list.adapters.end(),
            [](const I2cAdapter& a, const I2cAdapter& b) { return a.number < b.number; });
  return list;
}

AdapterListReport AdapterListText(const I2cAdapterList& list) {
  if (!list.kernelSupport)
    return {
        "",
        "No I2C support in this kernel: /sys/class/i2c-adapter does not exist.\n"
        "Load the I2C modules (sudo modprobe i2c-dev) and the card's driver, then try again.\n"};
  if (list.adapters.empty())
    return {"",
            "No I2C adapters: the kernel has I2C support but lists no adapter.\n"
            "Is the card's driver loaded?\n"};
  size_t nodeWidth = std::string("no /dev node").size();
  for (const auto& a : list.adapters) nodeWidth = std::max(nodeWidth, a.node.size());
  AdapterListReport report;
  report.table = "bus  " + Padded("device", nodeWidth) + "  access         adapter name\n";
  bool missingNode = false, deniedNode = false;
  for (const auto& a : list.adapters) {
    std::string access = a.node.empty() ? "-" : a.mayOpen ? "may open" : "no permission";
    report.table += Padded(std::to_string(a.number), 5) +
                    Padded(a.node.empty() ? "no /dev node" : a.node, nodeWidth) + "  " +
                    Padded(access, 15) + a.name + "\n";
    missingNode |= a.node.empty();
    deniedNode |= !a.node.empty() && !a.mayOpen;
  }
  if (missingNode)
    report.notes += "Buses without a /dev node need the i2c-dev module: sudo modprobe i2c-dev\n";
  if (deniedNode)
    report.notes +=
        "To open a bus without root, join the i2c group (sudo adduser $USER i2c) and log in "
        "again.\n";
  report.notes += "Open one with --bus=N, --bus=i2c-N or --bus=\"<adapter name>\".\n";
  return report;
}

bool ResolveBusName(const std::string& bus, const I2cAdapterRoots& roots,
                    const I2cAdapterList& list, std::string& device, std::string& error) {
  if (bus.empty() || bus[0] == '/' || bus[0] == '.' || bus.rfind("sim:", 0) == 0) {
    device = bus;
    return true;
  }
  int number = WholeNumber(bus) >= 0 ? WholeNumber(bus) : I2cAdapterNumber(bus);
  for (const auto& a : list.adapters)
    if (number < 0 && a.name == bus) number = a.number;
  if (number >= 0) {
    device = (fs::path(roots.dev) / ("i2c-" + std::to_string(number))).string();
    return true;
  }
  std::vector<std::string> listed;
  for (const auto& a : list.adapters)
    listed.push_back("\n  i2c-" + std::to_string(a.number) + " \"" + a.name + "\"");
  error = "No I2C adapter is named \"" + bus + "\"" +
          WhyNoneNamed(list.kernelSupport, listed,
                       ": this kernel has no I2C support (/sys/class/i2c-adapter does not exist)",
                       ": the kernel lists no I2C adapter", "; the adapters are:");
  return false;
}

std::string WhyNoneNamed(bool kernelSupport, const std::vector<std::string>& listed,
                         const std::string& noSupport, const std::string& noneListed,
                         const std::string& intro) {
  if (!kernelSupport) return noSupport;
  if (listed.empty()) return noneListed;
  std::string text = intro;
  for (const auto& item : listed) text += item;
  return text;
}
