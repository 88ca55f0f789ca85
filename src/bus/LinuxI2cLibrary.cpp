#include "bus/LinuxI2cLibrary.h"

#include <cerrno>
#include <cstring>
#include <vector>

#ifdef __linux__
#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr uint32_t kHandle = 0x1C2D;
constexpr int32_t kMaxTransfer = 8192;
}  // namespace

LinuxI2cLibrary::~LinuxI2cLibrary() {
#ifdef __linux__
  if (fd_ >= 0) close(fd_);
#endif
}

bool LinuxI2cLibrary::Open(const std::string& device, std::string& error) {
#ifdef __linux__
  fd_ = open(device.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) {
    int why = errno;
    error = "Cannot open I2C bus " + device + ": " + std::strerror(why);
    if (why == EACCES) error += " (add yourself to the i2c group or run with the needed rights)";
    if (why == ENOENT) error += " (is the i2c-dev module loaded?)";
    return false;
  }
  unsigned long functions = 0;
  if (ioctl(fd_, I2C_FUNCS, &functions) < 0 || !(functions & I2C_FUNC_I2C)) {
    error = "I2C bus " + device + " does not take plain I2C transfers (I2C_RDWR)";
    close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
#else
  error = "I2C bus " + device + ": i2c-dev exists only on Linux";
  return false;
#endif
}

uint32_t LinuxI2cLibrary::velI2C_InitByType(int16_t, int32_t) { return fd_ >= 0 ? kHandle : 0; }

uint8_t LinuxI2cLibrary::Transfer(uint32_t handle, int32_t address, const Message* messages,
                                  int count) {
#ifdef __linux__
  // 8-bit write-form addresses only: anything else has no 7-bit address.
  if (handle != kHandle || fd_ < 0 || address < 0 || address > 0xFF) return 1;
  std::vector<i2c_msg> msgs;
  for (int i = 0; i < count; ++i) {
    if (messages[i].count < 0 || messages[i].count > kMaxTransfer) return 1;
    if (messages[i].count == 0 && messages[i].read) continue;
    i2c_msg m{};
    m.addr = uint16_t(address >> 1);
    m.flags = messages[i].read ? I2C_M_RD : 0;
    m.len = uint16_t(messages[i].count);
    m.buf = messages[i].data;
    msgs.push_back(m);
  }
  if (msgs.empty()) return 1;
  i2c_rdwr_ioctl_data data{msgs.data(), uint32_t(msgs.size())};
  return ioctl(fd_, I2C_RDWR, &data) < 0 ? 1 : 0;
#else
  (void)handle, (void)address, (void)messages, (void)count;
  return 1;
#endif
}

uint8_t LinuxI2cLibrary::velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address,
                                           int32_t sub, int32_t count, uint8_t* buffer) {
  if (count < 0 || count >= kMaxTransfer) return 1;
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
