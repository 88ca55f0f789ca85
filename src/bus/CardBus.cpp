// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/CardBus.h"

#include <algorithm>
#include <filesystem>

#include "bus/DvbFrontends.h"
#include "numbers/Format.h"

namespace fs = std::filesystem;

namespace {

// A and F from the frontend forms of --bus; false for any other value.
bool ParseFrontendName(const std::string& bus, const I2cAdapterRoots& roots, int& adapter,
                       int& frontend) {
  std::string_view text = bus;
  std::string_view separator;
  const std::string devPrefix = (fs::path(roots.dev) / "dvb" / "adapter").string();
  if (text.starts_with(devPrefix)) {
    text.remove_prefix(devPrefix.size());
    separator = "/frontend";
  } else if (text.starts_with("dvb")) {
    text.remove_prefix(3);
    separator = text.find(".frontend") != std::string_view::npos ? ".frontend" : ".";
  } else {
    return false;
  }
  size_t at = text.find(separator);
  adapter = WholeNumber(text.substr(0, at));
  frontend = at == std::string_view::npos ? 0 : WholeNumber(text.substr(at + separator.size()));
  // The path always names its frontend.
  if (separator == "/frontend" && at == std::string_view::npos) return false;
  return adapter >= 0 && frontend >= 0;
}

std::string NoRegisterView(const DvbFrontend& fe, const I2cAdapterList& i2c) {
  if (fe.i2cAdapters.empty())
    return "No register view: the kernel lists no I2C adapter on the card of " + fe.Label();
  std::string missing, denied;
  for (const auto& a : i2c.adapters) {
    if (std::find(fe.i2cAdapters.begin(), fe.i2cAdapters.end(), a.number) == fe.i2cAdapters.end())
      continue;
    if (a.node.empty())
      missing += (missing.empty() ? "" : ", ") + ("i2c-" + std::to_string(a.number));
    else
      denied += (denied.empty() ? "" : ", ") + a.node;
  }
  if (!denied.empty())
    return "No register view: no permission to open " + denied +
           "; join the i2c group (sudo adduser $USER i2c) and log in again";
  return "No register view: the card's I2C adapters have no /dev node (" + missing +
         "); load the i2c-dev module: sudo modprobe i2c-dev";
}

}  // namespace

bool ResolveCard(const std::string& bus, const I2cAdapterRoots& roots, const Credentials& who,
                 CardBuses& out, std::string& error) {
  out = CardBuses{};
  I2cAdapterList i2c = ListI2cAdapters(roots, who);
  DvbFrontendList frontends = ListDvbFrontends(roots, who, nullptr);
  int adapter = 0, frontend = 0;
  if (!ParseFrontendName(bus, roots, adapter, frontend)) {
    if (!ResolveBusName(bus, roots, i2c, out.i2cBus, error)) return false;
    fs::path node(out.i2cBus);
    int number = I2cAdapterNumber(node.filename().string());
    if (number < 0 || node.parent_path() != fs::path(roots.dev)) return true;
    for (const auto& fe : frontends.frontends)
      if (std::find(fe.i2cAdapters.begin(), fe.i2cAdapters.end(), number) != fe.i2cAdapters.end()) {
        out.frontend = fe.node;
        break;
      }
    return true;
  }
  auto named = std::find_if(
      frontends.frontends.begin(), frontends.frontends.end(),
      [&](const DvbFrontend& fe) { return fe.adapter == adapter && fe.frontend == frontend; });
  if (named == frontends.frontends.end()) {
    std::vector<std::string> listed;
    for (const auto& fe : frontends.frontends) listed.push_back(" " + fe.Label());
    error = "No DVB frontend dvb" + std::to_string(adapter) + ".frontend" +
            std::to_string(frontend) +
            WhyNoneNamed(frontends.kernelSupport, listed,
                         ": /sys/class/dvb does not exist (no DVB driver is loaded)",
                         ": the kernel lists none", "; the frontends are:");
    return false;
  }
  out.frontend = named->node;
  for (const auto& a : i2c.adapters)
    if (a.mayOpen && std::find(named->i2cAdapters.begin(), named->i2cAdapters.end(), a.number) !=
                         named->i2cAdapters.end()) {
      out.i2cBus = a.node;
      return true;
    }
  out.noRegisterView = NoRegisterView(*named, i2c);
  return true;
}
