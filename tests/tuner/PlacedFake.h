// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <deque>
#include <map>
#include <vector>

#include "support/FakeI2c.h"
#include "tuner/tda18271.h"

using Places = std::vector<std::pair<int, int>>;
using Writes = std::vector<std::pair<int, std::vector<uint8_t>>>;

// A library on which chips answer only at the given (address, sub-address)
// places, or as a whole register image; everything else fails. A 39-byte
// read from sub-address 0 hands back the next queued image (the last one stays).
struct PlacedFake : FakeI2c {
  std::map<std::pair<int, int>, uint8_t> bytes;
  std::map<int, std::deque<tda18271::Image>> images;  // by address

  uint8_t velI2C_ReadArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                           uint8_t* buffer) override {
    auto image = images.find(address);
    auto byte = bytes.find({address, sub});
    bool whole = image != images.end() && count == 39 && sub == 0;
    bool one = count == 1 && (byte != bytes.end() || image != images.end());
    if (whole) std::copy(image->second.front().begin(), image->second.front().end(), buffer);
    if (whole && image->second.size() > 1) image->second.pop_front();
    if (one) buffer[0] = byte != bytes.end() ? byte->second : image->second.front()[sub];
    calls.push_back({Call::Read, h, mode, address, sub, count, {buffer, buffer + count}});
    return whole || one ? 0 : 1;
  }
  Places ReadPlaces() const {
    Places places;
    for (const auto& c : calls)
      if (c.kind == Call::Read) places.push_back({c.address, c.sub});
    return places;
  }
  Writes WritesSeen() const {
    Writes writes;
    for (const auto& c : calls)
      if (c.kind == Call::Write) writes.push_back({c.sub, c.bytes});
    return writes;
  }
};

inline tda18271::Image ImageWith(std::map<int, uint8_t> entries) {
  tda18271::Image image{};
  image[0] = 0x84;
  for (auto [i, v] : entries) image[i] = v;
  return image;
}
