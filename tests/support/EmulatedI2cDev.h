// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bus/KernelI2c.h"

// The kernel's i2c-dev rules, a bus of devices behind the node: a node is
// opened before use; I2C_FUNCS gives the adapter's bits; I2C_RDWR takes at
// most 42 messages of at most 8192 bytes, runs them in order and answers the
// number executed; a device that does not acknowledge stops it with ENXIO.
class EmulatedI2cDev : public KernelI2c {
 public:
  struct Sent {  // one message as it reached the bus
    uint16_t addr, flags, len;
    std::vector<uint8_t> bytes;  // written bytes; empty for a read
    bool operator==(const Sent&) const = default;
  };

  // The file system: path -> st_mode; a missing path is ENOENT.
  std::map<std::string, mode_t> files{{"/dev/i2c-3", S_IFCHR | 0660}};
  // The device numbers of device nodes; 0:0 when not listed.
  std::map<std::string, dev_t> numbers{{"/dev/i2c-3", makedev(89, 3)}};
  int statError = 0;       // stat fails with this when set
  int openError = 0;       // open fails with this when set
  int functionsError = 0;  // I2C_FUNCS fails with this when set
  unsigned long functions = I2C_FUNC_I2C | I2C_FUNC_SMBUS_EMUL;
  std::set<uint16_t> devices{0x0E, 0x19, 0x59, 0x60, 0x00, 0x7F};  // 7-bit addresses present
  int transferError = 0;   // the adapter fails every I2C_RDWR with this when set
  int executeAtMost = -1;  // the adapter stops after this many messages (partial count)

  std::vector<std::string> opened;           // paths opened, in order
  std::vector<int> closed;                   // descriptors closed
  std::vector<std::vector<Sent>> transfers;  // every I2C_RDWR call's messages

  static constexpr int kFd = 7;
  static constexpr uint8_t kFirstReadByte = 0xA0;  // a read returns A0, A1, A2 ...

  int Stat(const std::string& path, mode_t& mode, dev_t& device, int& error) override {
    if (statError) return error = statError, -1;
    auto it = files.find(path);
    if (it == files.end()) return error = ENOENT, -1;
    mode = it->second;
    device = numbers.count(path) ? numbers.at(path) : makedev(0, 0);
    return 0;
  }
  int OpenReadWrite(const std::string& path, int& error) override {
    opened.push_back(path);
    if (openError) return error = openError, -1;
    if (!files.count(path)) return error = ENOENT, -1;
    open_ = true;
    return kFd;
  }
  void Close(int fd) override {
    closed.push_back(fd);
    open_ = false;
  }
  int Functions(int fd, unsigned long& out, int& error) override {
    if (!open_ || fd != kFd) return error = EBADF, -1;
    if (functionsError) return error = functionsError, -1;
    out = functions;
    return 0;
  }
  int ReadWrite(int fd, i2c_msg* messages, uint32_t count, int& error) override {
    if (!open_ || fd != kFd) return error = EBADF, -1;
    std::vector<Sent> sent;
    for (uint32_t i = 0; i < count; ++i) {
      const i2c_msg& m = messages[i];
      sent.push_back({m.addr, m.flags, m.len,
                      m.flags & I2C_M_RD ? std::vector<uint8_t>{}
                                         : std::vector<uint8_t>(m.buf, m.buf + m.len)});
    }
    transfers.push_back(sent);
    if (count > I2C_RDWR_IOCTL_MAX_MSGS) return error = EINVAL, -1;
    for (uint32_t i = 0; i < count; ++i)
      if (messages[i].len > 8192 || messages[i].addr > 0x7F) return error = EINVAL, -1;
    if (transferError) return error = transferError, -1;
    int executed = 0;
    for (uint32_t i = 0; i < count; ++i) {
      if (executeAtMost >= 0 && executed == executeAtMost) break;
      if (!devices.count(messages[i].addr)) {
        if (executed == 0) return error = ENXIO, -1;
        break;
      }
      if (messages[i].flags & I2C_M_RD)
        for (uint16_t b = 0; b < messages[i].len; ++b)
          messages[i].buf[b] = uint8_t(kFirstReadByte + b);
      ++executed;
    }
    return executed;
  }

 private:
  bool open_ = false;
};
