// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/BoardFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "json/Json.h"
#include "sim/SimRegistry.h"

namespace {

// A whole number as text: 0x or 0X and hexadecimal digits of either case,
// or else decimal digits (leading zeros are no octal). Nothing else: no
// sign, no spaces.
bool ToLongText(const std::string& s, long& out) {
  bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  const char* begin = s.data() + (hex ? 2 : 0);
  const char* end = s.data() + s.size();
  auto [stop, failure] = std::from_chars(begin, end, out, hex ? 16 : 10);
  return begin != end && *begin != '-' && failure == std::errc() && stop == end;
}

// A number written as a JSON number or as a string in hex ("0x1C") or decimal.
bool ToLong(const Json& v, long& out) {
  if (v.is_number()) {
    double number = v.get<double>();
    if (number != std::floor(number) || std::fabs(number) > 1e12) return false;
    out = long(number);
    return true;
  }
  return v.is_string() && ToLongText(v.get_ref<const std::string&>(), out);
}

const Json* Find(const Json& object, const char* key) {
  auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

class Loader {
 public:
  explicit Loader(std::string name) : name_(std::move(name)) {}

  std::unique_ptr<SimBoard> Load(const std::string& text, std::string& error) {
    Json doc;
    std::string entry, why;
    if (!ParseJson(text, doc, entry, why)) return Fail(error, entry, why);
    if (!doc.is_object()) return Fail(error, "", "expected an object");
    auto board = std::make_unique<SimBoard>();
    for (const auto& [key, value] : doc.items())
      if (key != "types" && key != "devices" && key != "frontend")
        return Fail(error, Excerpt(key), "unknown entry");
    if (const Json* frontend = Find(doc, "frontend"))
      if (!Frontend(*frontend, board->frontend, error)) return nullptr;
    if (const Json* types = Find(doc, "types")) {
      if (!types->is_array()) return Fail(error, "types", "expected an array");
      board->types.clear();
      for (size_t i = 0; i < types->size(); ++i) {
        long type;
        if (!ToLong((*types)[i], type) || type < 1 || type > 32767)
          return Fail(error, "types[" + std::to_string(i) + "]",
                      "expected a board type from 1 to 32767");
        board->types.push_back(int(type));
      }
    }
    const Json* devices = Find(doc, "devices");
    if (devices && !devices->is_array()) return Fail(error, "devices", "expected an array");
    for (size_t i = 0; devices && i < devices->size(); ++i)
      if (!Device(*board, (*devices)[i], "devices[" + std::to_string(i) + "]", error))
        return nullptr;
    // A chip left at its default address answers at its second address too,
    // unless the file placed that part itself.
    for (const auto& [address, chipName] : defaultPlaced_) {
      const SimChip* chip = FindSimChip(chipName);
      if (chip->companion.empty()) continue;
      const SimChip* companion = FindSimChip(chip->companion);
      bool listed = false;
      for (const auto& [a, n] : placed_) listed |= n == chip->companion;
      if (companion && !listed && !board->DeviceAt(companion->busAddress()))
        board->AddDevice(companion->busAddress(), companion->make(false), faults_[address]);
    }
    return board;
  }

 private:
  std::nullptr_t Fail(std::string& error, const std::string& entry, const std::string& why) {
    error = name_ + (entry.empty() ? "" : ": " + entry) + ": " + why;
    return nullptr;
  }

  bool Device(SimBoard& board, const Json& d, const std::string& at, std::string& error) {
    if (!d.is_object()) {
      Fail(error, at, "expected an object");
      return false;
    }
    for (const auto& [key, value] : d.items())
      if (key != "chip" && key != "address" && key != "registers" && key != "fault") {
        Fail(error, at + "." + Excerpt(key), "unknown entry");
        return false;
      }
    const Json* chipField = Find(d, "chip");
    if (!chipField || !chipField->is_string()) {
      Fail(error, at + ".chip", "expected a chip name");
      return false;
    }
    const std::string& chipName = chipField->get_ref<const std::string&>();
    const SimChip* chip = FindSimChip(chipName);
    if (!chip) {
      std::string known;
      for (const auto& n : SimChipNames()) known += " " + n;
      Fail(error, at + ".chip", "unknown chip \"" + Excerpt(chipName) + "\" (known:" + known + ")");
      return false;
    }
    long address = chip->busAddress();
    if (const Json* a = Find(d, "address")) {
      if (!ToLong(*a, address) || address < 0 || address > 0xFE || (address & 1)) {
        Fail(error, at + ".address", "expected an 8-bit write address (even, 0x00 to 0xFE)");
        return false;
      }
    }
    if (board.DeviceAt(int(address))) {
      Fail(error, at + ".address", "another device already sits at this address");
      return false;
    }
    auto device = chip->make(false);
    if (const Json* regs = Find(d, "registers")) {
      if (!regs->is_object()) {
        Fail(error, at + ".registers", "expected an object");
        return false;
      }
      std::map<long, std::string> spelt;  // each register's key, to find one given twice
      for (const auto& [key, value] : regs->items()) {
        std::string entry = at + ".registers." + Excerpt(key);
        long reg, v;
        if (!ToLongText(key, reg)) {
          Fail(error, entry, "register is not a number");
          return false;
        }
        if (auto [it, added] = spelt.emplace(reg, key); !added) {
          Fail(error, entry, "the register of \"" + Excerpt(it->second) + "\" given again");
          return false;
        }
        if (!ToLong(value, v)) {
          Fail(error, entry, "value is not a number");
          return false;
        }
        std::string why;
        if (!device->SetRegister(reg, v, why)) {
          Fail(error, entry, why);
          return false;
        }
      }
    }
    SimFault fault;
    if (const Json* f = Find(d, "fault")) {
      if (!f->is_object()) {
        Fail(error, at + ".fault", "expected an object");
        return false;
      }
      for (const auto& [key, value] : f->items()) {
        if (key == "nak") {
          if (!value.is_boolean()) {
            Fail(error, at + ".fault.nak", "expected true or false");
            return false;
          }
          fault.nak = value.get<bool>();
        } else if (key == "fail_first" || key == "fail_after") {
          long n;
          if (!ToLong(value, n) || n < 0 || n > 1000000) {
            Fail(error, at + ".fault." + key, "expected a count from 0 to 1000000");
            return false;
          }
          (key == "fail_first" ? fault.failFirst : fault.failAfter) = int(n);
        } else if (key == "unlocked_polls") {
          if (!UnlockedPolls(value, fault, at + ".fault.unlocked_polls", error)) return false;
          if (!device->DropLock(false)) {
            Fail(error, at + ".fault.unlocked_polls", "this chip's model cannot drop its lock");
            return false;
          }
        } else {
          Fail(error, at + ".fault." + Excerpt(key), "unknown entry");
          return false;
        }
      }
    }
    board.AddDevice(int(address), std::move(device), fault);
    placed_.emplace_back(int(address), chipName);
    if (!Find(d, "address")) defaultPlaced_.emplace_back(int(address), chipName);
    faults_[int(address)] = fault;
    return true;
  }

  // [[first, last], ...]: polls counted from 1, each stretch in order.
  bool UnlockedPolls(const Json& v, SimFault& fault, const std::string& at, std::string& error) {
    const char* expected = "expected [[first, last], ...] polls from 1 to 1000000";
    if (!v.is_array()) return Fail(error, at, expected), false;
    for (size_t i = 0; i < v.size(); ++i) {
      const Json& pair = v[i];
      long first = 0, last = 0;
      if (!pair.is_array() || pair.size() != 2 || !ToLong(pair[0], first) ||
          !ToLong(pair[1], last) || first < 1 || last < first || last > 1000000)
        return Fail(error, at + "[" + std::to_string(i) + "]", expected), false;
      fault.unlockedPolls.emplace_back(int(first), int(last));
    }
    return true;
  }

  std::string name_;
  std::vector<std::pair<int, std::string>> placed_;
  // The card's frontend node and the driver faults it shows.
  bool Frontend(const Json& f, SimFrontendFaults& out, std::string& error) {
    if (!f.is_object()) return Fail(error, "frontend", "expected an object"), false;
    for (const auto& [key, value] : f.items()) {
      const std::string at = "frontend." + key;
      if (key == "cnr_scale") {
        if (!value.is_number() || value.get<double>() <= 0 || value.get<double>() > 1000)
          return Fail(error, at, "expected a factor above 0 and up to 1000"), false;
        out.cnrScale = value.get<double>();
      } else if (key == "signal_sign") {
        if (!value.is_number_integer() || (value.get<int>() != 1 && value.get<int>() != -1))
          return Fail(error, at, "expected 1 or -1"), false;
        out.signalSign = value.get<int>();
      } else if (key == "stats") {
        if (value != "v3" && value != "v5")
          return Fail(error, at, "expected \"v3\" or \"v5\""), false;
        out.v3Only = value == "v3";
      } else if (key == "captured") {
        out.captured.emplace();
        if (!Captured(value, *out.captured, error)) return false;
      } else if (key == "no_writer" || key == "available_after_lock" || key == "absent") {
        if (!value.is_boolean()) return Fail(error, at, "expected true or false"), false;
        bool& flag = key == "no_writer"              ? out.noWriter
                     : key == "available_after_lock" ? out.availableAfterLock
                                                     : out.absent;
        flag = value.get<bool>();
      } else {
        return Fail(error, at, "unknown entry"), false;
      }
    }
    return true;
  }

  // A whole number from `low` to `high`, as JSON number.
  static bool Whole(const Json& v, int64_t low, int64_t high, int64_t& out) {
    if (!v.is_number_integer()) return false;
    if (v.is_number_unsigned() && v.get<uint64_t>() > uint64_t(INT64_MAX)) return false;
    out = v.get<int64_t>();
    return out >= low && out <= high;
  }

  // What a capture read from a real frontend, to answer as it did.
  bool Captured(const Json& c, CapturedFrontend& out, std::string& error) {
    if (!c.is_object()) return Fail(error, "frontend.captured", "expected an object"), false;
    for (const auto& [key, value] : c.items()) {
      const std::string at = "frontend.captured." + key;
      int64_t n = 0;
      uint32_t* field = key == "status"            ? &out.status
                        : key == "delivery_system" ? &out.deliverySystem
                        : key == "frequency"       ? &out.frequency
                        : key == "modulation"      ? &out.modulation
                                                   : nullptr;
      if (field) {
        if (!Whole(value, 0, UINT32_MAX, n))
          return Fail(error, at, "expected a whole number from 0 to 4294967295"), false;
        *field = uint32_t(n);
      } else if (key == "stats" && value.is_object()) {
        for (const auto& [name, stat] : value.items()) {
          const std::string statAt = at + "." + name;
          const FrontendName* code = Named(kStatNames, name);
          if (!code) return Fail(error, statAt, "unknown statistic"), false;
          const Json* scale = stat.is_object() ? Find(stat, "scale") : nullptr;
          const FrontendName* scaleCode =
              scale && scale->is_string() ? Named(kScaleNames, scale->get<std::string>()) : nullptr;
          const Json* v = stat.is_object() ? Find(stat, "value") : nullptr;
          if (!scaleCode || !v || !Whole(*v, INT64_MIN, INT64_MAX, n) || stat.size() != 2)
            return Fail(error, statAt,
                        "expected {\"scale\": \"decibel\", \"relative\", \"counter\" or "
                        "\"n/a\", \"value\": a whole number}"),
                   false;
          dtv_stats& s = out.stats[code->code];
          s.scale = uint8_t(scaleCode->code);
          s.svalue = n;
        }
      } else if (key == "v3" && value.is_object()) {
        for (const auto& [name, v] : value.items()) {
          const FrontendName* code = Named(kV3Names, name);
          if (!code) return Fail(error, at + "." + name, "unknown version-3 statistic"), false;
          if (!Whole(v, 0, UINT32_MAX, n))
            return Fail(error, at + "." + name, "expected a whole number from 0 to 4294967295"),
                   false;
          out.v3[code->code] = uint32_t(n);
        }
      } else {
        return Fail(error, at,
                    key == "stats" || key == "v3" ? "expected an object" : "unknown entry"),
               false;
      }
    }
    return true;
  }

  template <size_t N>
  static const FrontendName* Named(const std::array<FrontendName, N>& names,
                                   const std::string& name) {
    for (const FrontendName& n : names)
      if (name == n.name) return &n;
    return nullptr;
  }

  std::vector<std::pair<int, std::string>> defaultPlaced_;
  std::map<int, SimFault> faults_;
};

}  // namespace

std::unique_ptr<SimBoard> ParseBoard(const std::string& text, const std::string& name,
                                     std::string& error) {
  return Loader(name).Load(text, error);
}

namespace {

constexpr off_t kMaxBoardFileBytes = 1 << 20;

// The whole text of a regular file of at most 1 MiB (a link is followed to
// one). Opened without blocking, so a FIFO cannot hold the reader, and
// checked before the first byte is read, so a device cannot feed it
// without end. False with the reason when the file is no such file.
bool ReadBoardText(const std::string& path, std::string& text, std::string& why) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0)
    why = std::strerror(errno);
  else if (S_ISDIR(st.st_mode))
    why = std::strerror(EISDIR);
  else if (!S_ISREG(st.st_mode))
    why = "not a regular file";
  else if (st.st_size > kMaxBoardFileBytes)
    why = "larger than 1 MiB";
  // One byte more than allowed tells a file that grew since.
  text.resize(size_t(kMaxBoardFileBytes) + 1);
  size_t got = 0;
  while (why.empty() && got < text.size()) {
    ssize_t n = ::read(fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) why = std::strerror(errno);
    if (n <= 0) break;
    got += size_t(n);
  }
  ::close(fd);
  if (why.empty() && got > size_t(kMaxBoardFileBytes)) why = "larger than 1 MiB";
  text.resize(got);
  return why.empty();
}

}  // namespace

std::unique_ptr<SimBoard> LoadBoardFile(const std::string& path, std::string& error) {
  std::string text, why;
  if (!ReadBoardText(path, text, why)) {
    error = path + ": cannot read the board file: " + why;
    return nullptr;
  }
  return ParseBoard(text, path, error);
}
