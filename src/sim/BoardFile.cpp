#include "sim/BoardFile.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>
#include <sstream>

#include "sim/Json.h"
#include "sim/SimRegistry.h"

namespace {

// A number written as a JSON number or as a string in hex ("0x1C") or decimal.
bool ToLong(const Json& v, long& out) {
  if (v.type == Json::Type::Number) {
    if (v.number != std::floor(v.number) || std::fabs(v.number) > 1e12) return false;
    out = long(v.number);
    return true;
  }
  if (v.type != Json::Type::String || v.text.empty()) return false;
  return [&](const std::string& s) {
    const char* begin = s.c_str();
    char* end = nullptr;
    bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
    errno = 0;
    long value = std::strtol(hex ? begin + 2 : begin, &end, hex ? 16 : 10);
    if (errno || end == (hex ? begin + 2 : begin) || *end != '\0') return false;
    out = value;
    return true;
  }(v.text);
}

bool ToLongText(const std::string& text, long& out) {
  Json v;
  v.type = Json::Type::String;
  v.text = text;
  return ToLong(v, out);
}

class Loader {
 public:
  explicit Loader(std::string name) : name_(std::move(name)) {}

  std::unique_ptr<SimBoard> Load(const std::string& text, std::string& error) {
    Json doc;
    std::string why;
    if (!ParseJson(text, doc, why)) return Fail(error, "", "malformed JSON, " + why);
    if (doc.type != Json::Type::Object) return Fail(error, "", "expected an object");
    auto board = std::make_unique<SimBoard>();
    for (const auto& [key, value] : doc.members)
      if (key != "types" && key != "devices") return Fail(error, key, "unknown entry");
    if (const Json* types = doc.Find("types")) {
      if (types->type != Json::Type::Array) return Fail(error, "types", "expected an array");
      board->types.clear();
      for (size_t i = 0; i < types->items.size(); ++i) {
        long type;
        if (!ToLong(types->items[i], type) || type < 1 || type > 32767)
          return Fail(error, "types[" + std::to_string(i) + "]",
                      "expected a board type from 1 to 32767");
        board->types.push_back(int(type));
      }
    }
    const Json* devices = doc.Find("devices");
    if (devices && devices->type != Json::Type::Array)
      return Fail(error, "devices", "expected an array");
    for (size_t i = 0; devices && i < devices->items.size(); ++i)
      if (!Device(*board, devices->items[i], "devices[" + std::to_string(i) + "]", error))
        return nullptr;
    // A chip left at its default address answers at its second address too,
    // unless the file placed that part itself.
    for (const auto& [address, chipName] : defaultPlaced_) {
      const SimChip* chip = FindSimChip(chipName);
      if (chip->companion.empty()) continue;
      const SimChip* companion = FindSimChip(chip->companion);
      bool listed = false;
      for (const auto& [a, n] : placed_) listed |= n == chip->companion;
      if (companion && !listed && !board->DeviceAt(companion->defaultAddress))
        board->AddDevice(companion->defaultAddress, companion->make(false), faults_[address]);
    }
    return board;
  }

 private:
  std::nullptr_t Fail(std::string& error, const std::string& entry, const std::string& why) {
    error = name_ + (entry.empty() ? "" : ": " + entry) + ": " + why;
    return nullptr;
  }

  bool Device(SimBoard& board, const Json& d, const std::string& at, std::string& error) {
    if (d.type != Json::Type::Object) return Fail(error, at, "expected an object"), false;
    for (const auto& [key, value] : d.members)
      if (key != "chip" && key != "address" && key != "registers" && key != "fault")
        return Fail(error, at + "." + key, "unknown entry"), false;
    const Json* chipName = d.Find("chip");
    if (!chipName || chipName->type != Json::Type::String)
      return Fail(error, at + ".chip", "expected a chip name"), false;
    const SimChip* chip = FindSimChip(chipName->text);
    if (!chip) {
      std::string known;
      for (const auto& n : SimChipNames()) known += " " + n;
      return Fail(error, at + ".chip", "unknown chip \"" + chipName->text + "\" (known:" + known +
                                           ")"),
             false;
    }
    long address = chip->defaultAddress;
    if (const Json* a = d.Find("address")) {
      if (!ToLong(*a, address) || address < 0 || address > 0xFE || (address & 1))
        return Fail(error, at + ".address",
                    "expected an 8-bit write address (even, 0x00 to 0xFE)"),
               false;
    }
    if (board.DeviceAt(int(address)))
      return Fail(error, at + ".address", "another device already sits at this address"), false;
    auto device = chip->make(false);
    if (const Json* regs = d.Find("registers")) {
      if (regs->type != Json::Type::Object)
        return Fail(error, at + ".registers", "expected an object"), false;
      for (const auto& [key, value] : regs->members) {
        std::string entry = at + ".registers." + key;
        long reg, v;
        if (!ToLongText(key, reg)) return Fail(error, entry, "register is not a number"), false;
        if (!ToLong(value, v)) return Fail(error, entry, "value is not a number"), false;
        std::string why;
        if (!device->SetRegister(reg, v, why)) return Fail(error, entry, why), false;
      }
    }
    SimFault fault;
    if (const Json* f = d.Find("fault")) {
      if (f->type != Json::Type::Object)
        return Fail(error, at + ".fault", "expected an object"), false;
      for (const auto& [key, value] : f->members) {
        if (key == "nak") {
          if (value.type != Json::Type::Bool)
            return Fail(error, at + ".fault.nak", "expected true or false"), false;
          fault.nak = value.boolean;
        } else if (key == "fail_first") {
          long n;
          if (!ToLong(value, n) || n < 0 || n > 1000000)
            return Fail(error, at + ".fault.fail_first", "expected a count from 0 to 1000000"),
                   false;
          fault.failFirst = int(n);
        } else if (key == "fail_after") {
          long n;
          if (!ToLong(value, n) || n < 0 || n > 1000000)
            return Fail(error, at + ".fault.fail_after", "expected a count from 0 to 1000000"),
                   false;
          fault.failAfter = int(n);
        } else {
          return Fail(error, at + ".fault." + key, "unknown entry"), false;
        }
      }
    }
    board.AddDevice(int(address), std::move(device), fault);
    placed_.emplace_back(int(address), chipName->text);
    if (!d.Find("address")) defaultPlaced_.emplace_back(int(address), chipName->text);
    faults_[int(address)] = fault;
    return true;
  }

  std::string name_;
  std::vector<std::pair<int, std::string>> placed_;
  std::vector<std::pair<int, std::string>> defaultPlaced_;
  std::map<int, SimFault> faults_;
};

}  // namespace

std::unique_ptr<SimBoard> ParseBoard(const std::string& text, const std::string& name,
                                     std::string& error) {
  return Loader(name).Load(text, error);
}

std::unique_ptr<SimBoard> LoadBoardFile(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot open the board file";
    return nullptr;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return ParseBoard(text.str(), path, error);
}
