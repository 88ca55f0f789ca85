// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

// The machine's I2C adapters as the kernel lists them in
// <sys>/class/i2c-adapter/i2c-N/name, with their i2c-dev nodes <dev>/i2c-N.
// Listing reads those files only: no adapter is opened, probed or scanned.

struct stat;

// Who asks: an open of a node is decided on the node's mode bits for this
// user and these groups (root may open anything).
struct Credentials {
  uid_t uid = 0;
  std::vector<gid_t> groups;
  static Credentials OfThisProcess();
  // Whether the mode bits let this user read the node, and write it as well
  // when asked. ACLs are not read.
  bool MayOpen(const struct stat& node, bool write) const;
};

struct I2cAdapterRoots {
  std::string sys = "/sys";
  std::string dev = "/dev";
};

struct I2cAdapter {
  int number = 0;
  std::string name;      // the kernel's adapter name, e.g. "cx23885[0]"
  std::string node;      // <dev>/i2c-N; empty when there is no such node
  bool mayOpen = false;  // the node allows this user to read and write
};

struct I2cAdapterList {
  bool kernelSupport = false;        // <sys>/class/i2c-adapter exists
  std::vector<I2cAdapter> adapters;  // by number
};

// N from "i2c-N"; -1 for any other name.
int I2cAdapterNumber(std::string_view name);

I2cAdapterList ListI2cAdapters(const I2cAdapterRoots& roots, const Credentials& who);

// The --list-buses report: one line per adapter under a header (for
// stdout), and the notes on why there is none or what to do next (for
// stderr).
struct AdapterListReport {
  std::string table, notes;
};
AdapterListReport AdapterListText(const I2cAdapterList& list);

// What follows "No <device> named ..." when a name matched nothing the
// kernel lists: that the kernel lacks support for such devices, that it
// lists none, or the intro followed by each listed item as written.
std::string WhyNoneNamed(bool kernelSupport, const std::vector<std::string>& listed,
                         const std::string& noSupport, const std::string& noneListed,
                         const std::string& intro);

// The node a --bus value names: a number N, "i2c-N" or an adapter's exact
// name. Paths ("/dev/...") and simulated boards ("sim:...") are returned as
// they are. False with a message when no adapter has that name.
bool ResolveBusName(const std::string& bus, const I2cAdapterRoots& roots,
                    const I2cAdapterList& list, std::string& device, std::string& error);
