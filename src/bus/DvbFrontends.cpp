// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/DvbFrontends.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "numbers/Format.h"

namespace fs = std::filesystem;

namespace {

// A and F from "dvbA.frontendF".
bool ParseLabel(const std::string& label, int& adapter, int& frontend) {
  const std::string_view prefix = "dvb", middle = ".frontend";
  if (!label.starts_with(prefix)) return false;
  size_t dot = label.find(middle);
  if (dot == std::string::npos) return false;
  adapter = WholeNumber(std::string_view(label).substr(prefix.size(), dot - prefix.size()));
  frontend = WholeNumber(std::string_view(label).substr(dot + middle.size()));
  return adapter >= 0 && frontend >= 0;
}

// Whether path is dir or lies below it, compared name by name so that
// .../usb1/1-1 does not hold .../usb1/1-10.
bool IsWithin(const fs::path& path, const fs::path& dir) {
  auto [dirEnd, pathEnd] = std::mismatch(dir.begin(), dir.end(), path.begin(), path.end());
  return dirEnd == dir.end();
}

struct AdapterPlace {
  int number;
  fs::path dir;  // the adapter's resolved sysfs directory
};

std::vector<AdapterPlace> AdapterPlaces(const fs::path& sys) {
  std::vector<AdapterPlace> places;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(sys / "class" / "i2c-adapter", ec)) {
    std::string name = entry.path().filename().string();
    int number = I2cAdapterNumber(name);
    fs::path dir = fs::canonical(entry.path(), ec);
    if (number >= 0 && !ec) places.push_back({number, dir});
  }
  std::sort(places.begin(), places.end(),
            [](const AdapterPlace& a, const AdapterPlace& b) { return a.number < b.number; });
  return places;
}

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string NumberList(const std::vector<int>& numbers) {
  if (numbers.empty()) return "none";
  std::string text;
  for (int n : numbers) text += (text.empty() ? "" : " ") + std::to_string(n);
  return text;
}

}  // namespace

std::string DvbFrontend::Label() const {
  return "dvb" + std::to_string(adapter) + ".frontend" + std::to_string(frontend);
}

DvbFrontendList ListDvbFrontends(const I2cAdapterRoots& roots, const Credentials& who,
                                 const FrontendNameLookup& nameOf) {
  DvbFrontendList list;
  std::error_code ec;
  fs::path classDir = fs::path(roots.sys) / "class" / "dvb";
  if (!fs::is_directory(classDir, ec)) return list;
  list.kernelSupport = true;
  std::vector<AdapterPlace> adapters = AdapterPlaces(roots.sys);
  for (const auto& entry : fs::directory_iterator(classDir, ec)) {
    DvbFrontend fe;
    if (!ParseLabel(entry.path().filename().string(), fe.adapter, fe.frontend)) continue;
    fe.node = (fs::path(roots.dev) / "dvb" / ("adapter" + std::to_string(fe.adapter)) /
               ("frontend" + std::to_string(fe.frontend)))
                  .string();
    std::error_code noDevice;
    fs::path card = fs::canonical(entry.path() / "device", noDevice);
    if (!noDevice)
      for (const auto& a : adapters)
        if (IsWithin(a.dir, card)) fe.i2cAdapters.push_back(a.number);
    list.frontends.push_back(fe);
  }
  std::sort(list.frontends.begin(), list.frontends.end(),
            [](const DvbFrontend& a, const DvbFrontend& b) {
              return std::pair(a.adapter, a.frontend) < std::pair(b.adapter, b.frontend);
            });
  for (auto& fe : list.frontends) {
    struct stat st {};
    if (::stat(fe.node.c_str(), &st) != 0) {
      fe.whyNot = "no /dev node";
    } else if (!who.MayOpen(st, false)) {
      fe.whyNot = "no permission";
    } else if (nameOf) {
      std::optional<std::string> name = nameOf(fe.node, fe.whyNot);
      if (name)
        fe.name = *name;
      else if (fe.whyNot.empty())
        fe.whyNot = "unreadable";
    }
  }
  return list;
}

AdapterListReport FrontendListText(const DvbFrontendList& list) {
  if (!list.kernelSupport)
    return {"", "No DVB frontends: /sys/class/dvb does not exist (no DVB driver is loaded).\n"};
  if (list.frontends.empty()) return {"", "No DVB frontends: the kernel lists none.\n"};
  size_t labelWidth = std::string("frontend").size(), accessWidth = 13, busWidth = 9;
  for (const auto& fe : list.frontends) {
    labelWidth = std::max(labelWidth, fe.Label().size());
    accessWidth = std::max(accessWidth, fe.whyNot.size());
    busWidth = std::max(busWidth, NumberList(fe.i2cAdapters).size());
  }
  std::string text = Padded("frontend", labelWidth + 2) + Padded("access", accessWidth + 2) +
                     Padded("I2C buses", busWidth + 2) + "name\n";
  bool missingNode = false, denied = false;
  for (const auto& fe : list.frontends) {
    text += Padded(fe.Label(), labelWidth + 2) +
            Padded(fe.whyNot.empty() ? "may open" : fe.whyNot, accessWidth + 2) +
            Padded(NumberList(fe.i2cAdapters), busWidth + 2) + (fe.name.empty() ? "-" : fe.name) +
            "\n";
    missingNode |= fe.whyNot == "no /dev node";
    denied |= fe.whyNot == "no permission";
  }
  std::string notes;
  if (missingNode)
    notes +=
        "Frontends without a /dev node: the kernel lists them but no node was made in "
        "/dev/dvb.\n";
  if (denied)
    notes +=
        "To open a frontend without root, join the video group (sudo adduser $USER video) and "
        "log in again.\n";
  notes +=
      "I2C buses are the card's own adapters, for the register view.\n"
      "Open a card with --bus=dvbA, --bus=dvbA.F or --bus=/dev/dvb/adapterA/frontendF.\n";
  return {text, notes};
}
