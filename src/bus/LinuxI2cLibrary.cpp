// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/LinuxI2cLibrary.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {
constexpr uint32_t kHandle = 0x1C2D;
// The kernel's limit on one message's length.
constexpr int32_t kMaxMessageBytes = 8192;

// The character major of the kernel's i2c-dev nodes.
constexpr unsigned kI2cDevMajor = 89;

uint8_t ErrorResult(int error) { return error > 0 && error < 256 ? uint8_t(error) : EIO; }

// "89:3", as the kernel writes it in sysfs.
std::string DeviceNumber(dev_t device) {
  return std::to_string(major(device)) + ":" + std::to_string(minor(device));
}
}  // namespace

bool LinuxI2cLibrary::ListedAsI2cDev(dev_t device) const {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(sys_ + "/class/i2c-dev", ignored)) {
    std::ifstream file(entry.path() / "dev");
    std::string listed;
    if (std::getline(file, listed) && listed == DeviceNumber(device)) return true;
  }
  return false;
}

LinuxI2cLibrary::~LinuxI2cLibrary() {
  if (fd_ >= 0) kernel_.Close(fd_);
}

bool LinuxI2cLibrary::Open(const std::string& device, std::string& error) {
  int why = 0;
  mode_t mode = 0;
  dev_t number = 0;
  if (kernel_.Stat(device, mode, number, why) < 0) {
    if (why == ENOENT)
      error = "I2C bus " + device + " does not exist (is the i2c-dev module loaded?)";
    else
      error = "Cannot open I2C bus " + device + ": " + std::strerror(why);
    return false;
  }
  if (!S_ISCHR(mode)) {
    error = "I2C bus " + device + " is not a character device";
    return false;
  }
  if (major(number) != kI2cDevMajor && !ListedAsI2cDev(number)) {
    error = "I2C bus " + device + " is not an i2c-dev node (device " + DeviceNumber(number) +
            "; i2c-dev nodes have major " + std::to_string(kI2cDevMajor) + " or are listed in " +
            sys_ + "/class/i2c-dev)";
    return false;
  }
  fd_ = kernel_.OpenReadWrite(device, why);
  if (fd_ < 0) {
    error = "Cannot open I2C bus " + device + ": " + std::strerror(why);
    if (why == EACCES) error += " (add yourself to the i2c group or run with the needed rights)";
    return false;
  }
  unsigned long functions = 0;
  if (kernel_.Functions(fd_, functions, why) < 0) {
    error = "I2C bus " + device + " is not an i2c-dev adapter: " + std::strerror(why);
  } else if (!(functions & I2C_FUNC_I2C)) {
    error = "I2C bus " + device + " does not take plain I2C transfers (I2C_RDWR)";
  } else {
    return true;
  }
  kernel_.Close(fd_);
  fd_ = -1;
  return false;
}

uint32_t LinuxI2cLibrary::velI2C_InitByType(int16_t, int32_t) { return fd_ >= 0 ? kHandle : 0; }

uint8_t LinuxI2cLibrary::Transfer(uint32_t handle, int32_t address, const Message* messages,
                                  int count) {
  if (handle != kHandle || fd_ < 0) return EBADF;
  // 8-bit write-form addresses only: anything above 0xFF (the tuner probe's
  // 0x1C0..0x1C6) has no 7-bit address and must not reach the bus.
  if (address < 0 || address > 0xFF) return EINVAL;
  std::vector<i2c_msg> msgs;
  for (int i = 0; i < count; ++i) {
    const Message& m = messages[i];
    if (m.count < 0 || m.count > kMaxMessageBytes) return EINVAL;
    // An empty message inside a combined transfer carries nothing, and many
    // adapters refuse a zero-length write: a read without sub-address bytes
    // goes out as a plain read. A lone empty message is the caller's own
    // request and goes out as it is.
    if (m.count == 0 && count > 1) continue;
    msgs.push_back(i2c_msg{uint16_t(address >> 1), uint16_t(m.read ? I2C_M_RD : 0),
                           uint16_t(m.count), m.data});
  }
  if (msgs.empty()) return EINVAL;
  int why = 0;
  int done = kernel_.ReadWrite(fd_, msgs.data(), uint32_t(msgs.size()), why);
  if (done < 0) return ErrorResult(why);
  // Fewer messages than asked: the transfer stopped part way.
  return done == int(msgs.size()) ? 0 : EIO;
}

uint8_t LinuxI2cLibrary::velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address,
                                           int32_t sub, int32_t count, uint8_t* buffer) {
  if (count < 0 || count > kMaxMessageBytes) return EINVAL;
  std::vector<uint8_t> out;
  if (mode == 1) out.push_back(uint8_t(sub));
  out.insert(out.end(), buffer, buffer + count);
  Message m{false, out.data(), int32_t(out.size())};
  return Transfer(handle, address, &m, 1);
}

uint8_t LinuxI2cLibrary::velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address,
                                          int32_t sub, int32_t count, uint8_t* buffer) {
  uint8_t subByte = uint8_t(sub);
  if (mode == 1) {
    Message m[2] = {{false, &subByte, 1}, {true, buffer, count}};
    return Transfer(handle, address, m, 2);
  }
  Message m{true, buffer, count};
  return Transfer(handle, address, &m, 1);
}

uint8_t LinuxI2cLibrary::velI2C_WriteRead(uint32_t handle, int32_t address, int32_t, int32_t,
                                          int32_t writeCount, uint8_t* writeBuffer, int32_t,
                                          int32_t, int32_t readCount, uint8_t* readBuffer) {
  Message m[2] = {{false, writeBuffer, writeCount}, {true, readBuffer, readCount}};
  return Transfer(handle, address, m, 2);
}
