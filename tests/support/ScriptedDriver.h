// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "monitor/Demodulator.h"

// A driver whose every answer is set by the test; it logs the members called.
struct ScriptedDriver : Demodulator {
  int16_t mode = 0;
  float snr = 0, avg = 0;
  int32_t color = 0x00FF00;
  int16_t locks[5] = {1, 1, 1, 1, 1};
  Value uncorrectable = 0, correctable = 0, ber = 0, agc = 0x700;
  Value carrier = 0, carrierHex = "0 0", registers = "F0 / F1 / XX";
  int16_t tps[6] = {2, 0, 0, 1, 2, 1};
  int16_t passthru = 0, sleep = 0;
  std::vector<std::string> log;
  std::vector<int16_t> passthruWrites, sleepWrites;

  std::string cls = "SCRIPTED";
  bool answers = true;
  std::vector<std::string>* probes = nullptr;  // where probe() records the class, if set

  std::string name() override { return "chip-" + cls; }
  bool probe() override {
    if (probes) probes->push_back(cls);
    return answers;
  }
  int16_t OperatingMode() override { return log.push_back("OperatingMode"), mode; }
  void OperatingMode(int16_t) override {}
  float SNR(int16_t&, float& aSNR, int32_t& c, int16_t& reset) override {
    log.push_back("SNR");
    aSNR = avg;
    c = color;
    reset = 0;
    return snr;
  }
  Value SNRRegisters() override { return log.push_back("SNRRegisters"), registers; }
  Value UncorrectableErrors() override {
    return log.push_back("UncorrectableErrors"), uncorrectable;
  }
  Value PostVeterbiErrors() override { return log.push_back("PostVeterbiErrors"), correctable; }
  Value CarrierOffset() override { return log.push_back("CarrierOffset"), carrier; }
  Value CarrierOffsetHex() override { return log.push_back("CarrierOffsetHex"), carrierHex; }
  int16_t Passthru() override { return log.push_back("Passthru"), passthru; }
  void Passthru(int16_t v) override { passthruWrites.push_back(v); }
  int16_t Sleep() override { return log.push_back("Sleep"), sleep; }
  void Sleep(int16_t v) override { sleepWrites.push_back(v); }
  void GetLockStatus(int16_t& m, int16_t& eq, int16_t& fec, int16_t& sync, int16_t& afc) override {
    log.push_back("GetLockStatus");
    m = locks[0], eq = locks[1], fec = locks[2], sync = locks[3], afc = locks[4];
  }
  Value SymbolTiming() override { return log.push_back("SymbolTiming"), "12 3456"; }
  Value AutoFreq() override { return log.push_back("AutoFreq"), "1 2F40"; }
  Value PilotPwr() override { return log.push_back("PilotPwr"), 0xC80; }
  Value IFGain() override { return log.push_back("IFGain"), 0x1A; }
  Value STRTime() override { return log.push_back("STRTime"), 255; }
  Value FreqOffset() override { return log.push_back("FreqOffset"), -1; }
  Value AGCPowerRef() override { return log.push_back("AGCPowerRef"), agc; }
  Value BERctr() override { return log.push_back("BERctr"), ber; }
  void GetTPS(int16_t& modulation, int16_t& hierarchy, int16_t& hplp, int16_t& rate, int16_t& guard,
              int16_t& fft) override {
    log.push_back("GetTPS");
    modulation = tps[0], hierarchy = tps[1], hplp = tps[2], rate = tps[3], guard = tps[4],
    fft = tps[5];
  }
  int Calls(const std::string& member) const {
    int n = 0;
    for (const auto& m : log) n += m == member;
    return n;
  }
};
