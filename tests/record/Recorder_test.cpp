// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/Recorder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "record/CsvRecorder.h"
#include "record/JsonlRecorder.h"
#include "record/PromRecorder.h"
#include "record/RecordText.h"
#include "record/ReplaceFile.h"
#include "support/CsvReader.h"
#include "support/FileSizeLimit.h"
#include "support/PromParser.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// 2026-12-07T16:45:12.345Z
const std::chrono::system_clock::time_point kWhen{milliseconds(1796661912345)};

// A locked DVB-T poll with its transmission parameters.
Reading DvbtReading() {
  Reading r;
  r.timestamp = kWhen;
  r.mode = 4;
  r.modeText = "DVB-T";
  r.locks = {1, 1, 0, -1, 1};
  r.snr = 25.3f;
  r.average = 24.9f;
  r.color = 0x00FFFF;
  r.uncorrectable = 7;
  r.correctable = 12;
  r.berCounter = 1;
  r.uncorrectableRate = 7.0 / 38799;
  r.correctableBer = 12 / 65535.0;
  r.carrierOffset = "-1,5 \"kHz\"\nnext";  // a text that needs every CSV rule
  r.carrierOffsetHex = "FFFF";
  r.tps =
      TpsReading{2, 0, 0, 1, 1, 1, "QAM64", "none", "hp code rate:", "2/3", "1/16", "8K", false};
  return r;
}

// A sleeping chip: no carrier, no rate (counter setting outside the table).
Reading SleepReading() {
  Reading r;
  r.timestamp = std::chrono::system_clock::time_point{milliseconds(951868799007)};
  r.mode = 3;
  r.modeText = "Sleep";
  r.color = 0x808080;
  r.berCounter = 7;
  return r;
}

struct Folder : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("quovis_record_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all);
    fs::remove_all(dir);
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::unique_ptr<Recorder> Open(const std::string& name, const RecordLabels& labels = {}) {
    std::string error;
    auto recorder = OpenRecorder(Path(name), labels, error);
    EXPECT_TRUE(recorder) << error;
    return recorder;
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    return names;
  }
};

TEST(RecordText, TimestampsColoursAndNumbers) {
  EXPECT_EQ(IsoUtcText(kWhen), "2026-12-07T16:45:12.345Z");
  EXPECT_EQ(IsoUtcText(std::chrono::system_clock::time_point{milliseconds(951868799007)}),
            "2000-02-29T23:59:59.007Z");
  EXPECT_EQ(IsoUtcText(std::chrono::system_clock::time_point{milliseconds(-1)}),
            "1969-12-31T23:59:59.999Z");
  const std::pair<int32_t, const char*> colours[] = {
      {0x00FF00, "green"}, {0x00FFFF, "yellow"},  {0x0080FF, "orange"}, {0x0000FF, "red"},
      {0x808080, "grey"},  {0x00C000, "#00C000"}, {0x123456, "#563412"}};
  for (auto [value, name] : colours) EXPECT_EQ(ColorName(value), name) << std::hex << value;
  EXPECT_EQ(DecimalText(25.3f), "25.3");
  EXPECT_EQ(ShortestDouble(25.3f), 25.3);
}

TEST_F(Folder, JsonLinesParseBackWithEveryField) {
  auto recorder = Open("poll.jsonl", {"zl10353", "/dev/i2c-3"});
  EXPECT_EQ(recorder->Record(DvbtReading()), "");
  EXPECT_EQ(recorder->Record(SleepReading()), "");
  std::string text = Slurp(Path("poll.jsonl"));
  ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
  std::istringstream lines(text);
  std::string line;
  std::getline(lines, line);
  auto j = nlohmann::json::parse(line);
  EXPECT_EQ(j["time"], "2026-12-07T16:45:12.345Z");
  EXPECT_EQ(j["answering"], true);
  EXPECT_EQ(j["mode"], 4);
  EXPECT_EQ(j["modeText"], "DVB-T");
  EXPECT_EQ(j["locks"], nlohmann::json::parse(R"({"master":1,"eq":1,"fec":0,"sync":-1,"afc":1})"));
  EXPECT_EQ(j["snr"], 25.3);
  EXPECT_EQ(j["average"], 24.9);
  EXPECT_EQ(j["colour"], "yellow");
  EXPECT_EQ(j["uncorrectable"], 7);
  EXPECT_EQ(j["correctable"], 12);
  EXPECT_DOUBLE_EQ(j["uncorrectableRate"].get<double>(), 7.0 / 38799);
  EXPECT_DOUBLE_EQ(j["correctableBer"].get<double>(), 12 / 65535.0);
  EXPECT_EQ(j["carrierOffset"], "-1,5 \"kHz\"\nnext");
  EXPECT_EQ(j["carrierOffsetHex"], "FFFF");
  EXPECT_EQ(j["tps"], nlohmann::json::parse(R"({"modulation":2,"modulationText":"QAM64",
      "hierarchy":0,"hierarchyText":"none","selectHPLP":0,"codeRateCaption":"hp code rate:",
      "codeRate":1,"codeRateText":"2/3","guard":1,"guardText":"1/16","transmissionMode":1,
      "transmissionModeText":"8K"})"));
  EXPECT_EQ(j["chip"], "zl10353");
  EXPECT_EQ(j["bus"], "/dev/i2c-3");
  std::getline(lines, line);
  j = nlohmann::json::parse(line);
  EXPECT_EQ(j["time"], "2000-02-29T23:59:59.007Z");
  EXPECT_EQ(j["colour"], "grey");
  EXPECT_EQ(j["locks"]["master"], -1);
  EXPECT_TRUE(j["uncorrectableRate"].is_null());
  EXPECT_TRUE(j["carrierOffset"].is_null());
  EXPECT_TRUE(j["tps"].is_null());
}

TEST_F(Folder, JsonLinesTellEachEventOnALineAfterItsPoll) {
  auto recorder = Open("events.jsonl", {"s5h1409", "sim:s5h1409"});
  Reading poll = SleepReading();
  poll.events = {{Event::Kind::LockRegained, kWhen, 12.2504},  // to the millisecond
                 {Event::Kind::ViewsDisagree, kWhen, {}, "lock (registers yes, kernel no)"}};
  recorder->Record(poll);
  const std::string labels = R"(,"chip":"s5h1409","bus":"sim:s5h1409"})";
  EXPECT_EQ(
      Slurp(Path("events.jsonl")),
      JsonlRecorder::Line(poll, {"s5h1409", "sim:s5h1409"}) + "\n" +
          R"({"time":"2026-12-07T16:45:12.345Z","event":"lock_regained","lostSeconds":12.25)" +
          labels + "\n" +
          R"({"time":"2026-12-07T16:45:12.345Z","event":"views_disagree",)"
          R"x("detail":"lock (registers yes, kernel no)")x" +
          labels + "\n");
}

TEST_F(Folder, CsvHasOneHeaderAndRowsAStrictReaderTakes) {
  {
    auto recorder = Open("poll.csv", {"zl10353", "/dev/i2c-3"});
    recorder->Record(DvbtReading());
    recorder->Record(SleepReading());
  }
  {  // opened again: rows go on under the same header
    auto recorder = Open("poll.csv", {"zl10353", "/dev/i2c-3"});
    recorder->Record(DvbtReading());
  }
  CsvTable t = ReadCsv(Slurp(Path("poll.csv")));
  ASSERT_EQ(t.error, "");
  ASSERT_EQ(t.rows.size(), 4u);
  const auto& h = t.rows[0];
  auto at = [&](size_t row, const std::string& column) {
    size_t i = std::find(h.begin(), h.end(), column) - h.begin();
    return i < h.size() ? t.rows[row][i] : "<no column " + column + ">";
  };
  // The kernel view's columns come last, empty without a frontend.
  EXPECT_EQ(h.size(), 42u);
  EXPECT_EQ(h[31], "chip");
  EXPECT_EQ(h[32], "bus");
  EXPECT_EQ(h[33], "kernel_locked");
  EXPECT_EQ(h[41], "disagree");
  const std::pair<const char*, const char*> dvbt[] = {{"time", "2026-12-07T16:45:12.345Z"},
                                                      {"answering", "1"},
                                                      {"mode", "4"},
                                                      {"mode_text", "DVB-T"},
                                                      {"lock_master", "1"},
                                                      {"lock_fec", "0"},
                                                      {"lock_sync", "-1"},
                                                      {"snr_db", "25.3"},
                                                      {"average_db", "24.9"},
                                                      {"colour", "yellow"},
                                                      {"uncorrectable", "7"},
                                                      {"correctable", "12"},
                                                      {"ber_counter", "1"},
                                                      {"carrier_offset", "-1,5 \"kHz\"\nnext"},
                                                      {"carrier_offset_hex", "FFFF"},
                                                      {"modulation", "2"},
                                                      {"modulation_text", "QAM64"},
                                                      {"code_rate_caption", "hp code rate:"},
                                                      {"code_rate_text", "2/3"},
                                                      {"transmission_mode_text", "8K"},
                                                      {"chip", "zl10353"},
                                                      {"bus", "/dev/i2c-3"},
                                                      {"kernel_locked", ""},
                                                      {"disagree", ""}};
  for (auto [column, value] : dvbt) {
    EXPECT_EQ(at(1, column), value) << column;
    EXPECT_EQ(at(3, column), value) << column;
  }
  EXPECT_DOUBLE_EQ(std::stod(at(1, "uncorrectable_rate")), 7.0 / 38799);
  const std::pair<const char*, const char*> sleeping[] = {
      {"mode_text", "Sleep"},     {"lock_master", "-1"},  {"colour", "grey"},
      {"uncorrectable_rate", ""}, {"carrier_offset", ""}, {"modulation", ""}};
  for (auto [column, value] : sleeping) EXPECT_EQ(at(2, column), value) << column;
}

// The exact text of a record: member order, number layout, escapes and the
// replacement of bytes that are not UTF-8.
TEST(JsonlLine, ExactTextOfEachKindOfPoll) {
  Reading awkward = SleepReading();
  awkward.modeText =
      "q\"b\\s/\x01\x1F\t\n\r\b\f\x7F"
      "é";
  awkward.snr = -0.0f;
  awkward.average = 1234.5f;
  awkward.color = 0x00C000;
  awkward.uncorrectable = 1e15;
  awkward.correctable = -2147483647 - 1;
  awkward.berCounter = 0.5;
  awkward.uncorrectableRate = 0.0001;
  awkward.correctableBer = 1.5e-5;
  // A stray byte, an overlong form, a surrogate; a four-byte character and
  // one cut short at the end.
  awkward.carrierOffset = "\xFFok\xE0\x80x\xED\xA0\x80";
  awkward.carrierOffsetHex = "\xF0\x9F\x93\xA1\xE2\x82";

  Reading silent;
  silent.answering = false;
  silent.timestamp = kWhen;
  silent.modeText = "No answer";
  silent.color = 0x808080;
  silent.carrierOffset = "12.5 kHz";  // kept from the poll before

  const std::string kFffd = "\xEF\xBF\xBD";
  const std::pair<Reading, std::string> cases[] = {
      {DvbtReading(),
       R"({"time":"2026-12-07T16:45:12.345Z","answering":true,"mode":4,"modeText":"DVB-T",)"
       R"("locks":{"master":1,"eq":1,"fec":0,"sync":-1,"afc":1},"snr":25.3,"average":24.9,)"
       R"("colour":"yellow","uncorrectable":7,"correctable":12,"berCounter":1,)"
       R"("uncorrectableRate":0.00018041702105724375,"correctableBer":0.00018310826276035706,)"
       R"("carrierOffset":"-1,5 \"kHz\"\nnext","carrierOffsetHex":"FFFF",)"
       R"("tps":{"modulation":2,"modulationText":"QAM64","hierarchy":0,"hierarchyText":"none",)"
       R"("selectHPLP":0,"codeRateCaption":"hp code rate:","codeRate":1,"codeRateText":"2/3",)"
       R"("guard":1,"guardText":"1/16","transmissionMode":1,"transmissionModeText":"8K"}})"},
      {SleepReading(),
       R"({"time":"2000-02-29T23:59:59.007Z","answering":true,"mode":3,"modeText":"Sleep",)"
       R"("locks":{"master":-1,"eq":-1,"fec":-1,"sync":-1,"afc":-1},"snr":0,"average":0,)"
       R"("colour":"grey","uncorrectable":0,"correctable":0,"berCounter":7,)"
       R"("uncorrectableRate":null,"correctableBer":0,"carrierOffset":null,)"
       R"("carrierOffsetHex":null,"tps":null})"},
      {silent,
       R"({"time":"2026-12-07T16:45:12.345Z","answering":false,"mode":-1,)"
       R"("modeText":"No answer","locks":{"master":-1,"eq":-1,"fec":-1,"sync":-1,"afc":-1},)"
       R"("snr":0,"average":0,"colour":"grey","uncorrectable":0,"correctable":0,)"
       R"("berCounter":0,"uncorrectableRate":null,"correctableBer":0,)"
       R"("carrierOffset":"12.5 kHz","carrierOffsetHex":null,"tps":null})"},
      {awkward,
       R"({"time":"2000-02-29T23:59:59.007Z","answering":true,"mode":3,)"
       R"("modeText":"q\"b\\s/\u0001\u001f\t\n\r\b\f)"
       "\x7F"
       "é"
       R"(",)"
       R"("locks":{"master":-1,"eq":-1,"fec":-1,"sync":-1,"afc":-1},"snr":0,"average":1234.5,)"
       R"("colour":"#00C000","uncorrectable":1e+15,"correctable":-2147483648,)"
       R"("berCounter":0.5,"uncorrectableRate":0.0001,"correctableBer":1.5e-05,)"
       R"("carrierOffset":")" +
           kFffd + "ok" + kFffd + kFffd + "x" + kFffd + kFffd + kFffd +
           R"(","carrierOffsetHex":")"
           "\xF0\x9F\x93\xA1" +
           kFffd + R"(","tps":null})"},
  };
  const std::string labels = R"(,"chip":"s5h1409","bus":"sim:a\"b)" + kFffd + R"("})";
  for (const auto& [reading, line] : cases)
    EXPECT_EQ(JsonlRecorder::Line(reading, {"s5h1409", "sim:a\"b\xFF"}),
              line.substr(0, line.size() - 1) + labels);
}

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"plain", "plain"},   {"a,b", "\"a,b\""},   {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"a\rb", "\"a\rb\""}, {"a\nb", "\"a\nb\""}, {"", ""}};
  for (auto [in, out] : cases) EXPECT_EQ(CsvRecorder::Field(in), out) << in;
}

TEST_F(Folder, PromDocumentIsStrictExpositionWithEscapedLabelsAndRunningTotals) {
  auto recorder = Open("quovis.prom", {"s5h1409", "a\\b\"c\nd"});
  Reading first = DvbtReading();
  first.uncorrectable = 3, first.correctable = 10;
  recorder->Record(first);
  Reading second = DvbtReading();
  second.uncorrectable = 5, second.correctable = 2;
  second.tally = {2, 12.5, 3};
  recorder->Record(second);
  EXPECT_EQ(recorder->Finish(), "");  // the writer has put the second poll in the file
  PromDocument doc = ParseProm(Slurp(Path("quovis.prom")));
  ASSERT_EQ(doc.error, "");
  std::map<std::string, std::string> own = {{"chip", "s5h1409"}, {"bus", "a\\b\"c\nd"}};
  for (const auto& s : doc.samples) {
    EXPECT_EQ(s.labels.at("chip"), "s5h1409") << s.name;
    EXPECT_EQ(s.labels.at("bus"), "a\\b\"c\nd") << s.name;
    EXPECT_EQ(doc.helps.count(s.name), 1u) << s.name;
  }
  const std::tuple<const char*, const char*, double> expected[] = {
      {"quovis_answering", "gauge", 1},
      {"quovis_mode", "gauge", 4},
      {"quovis_snr_db", "gauge", 25.3},
      {"quovis_snr_avg_db", "gauge", 24.9},
      {"quovis_uncorrectable", "gauge", 5},
      {"quovis_correctable", "gauge", 2},
      {"quovis_uncorrectable_total", "counter", 8},
      {"quovis_correctable_total", "counter", 12},
      {"quovis_correctable_ber", "gauge", 12 / 65535.0},  // as the reading holds it
      {"quovis_polls_total", "counter", 2},
      {"quovis_lock_losses_total", "counter", 2},
      {"quovis_unlocked_seconds_total", "counter", 12.5},
      {"quovis_no_answer_seconds_total", "counter", 3},
      {"quovis_last_poll_timestamp_seconds", "gauge", 1796661912.345}};
  for (auto [name, type, value] : expected) {
    const PromSample* s = doc.Find(name);
    ASSERT_TRUE(s) << name;
    EXPECT_DOUBLE_EQ(s->value, value) << name;
    EXPECT_EQ(doc.types[name], type) << name;
  }
  EXPECT_EQ(doc.Find("quovis_mode")->labels.at("mode_text"), "DVB-T");
  const std::pair<const char*, double> lamps[] = {
      {"master", 1}, {"eq", 1}, {"fec", 0}, {"sync", -1}, {"afc", 1}};
  for (auto [lamp, value] : lamps) {
    const PromSample* s = doc.Find("quovis_locked", {{"lamp", lamp}});
    ASSERT_TRUE(s) << lamp;
    EXPECT_EQ(s->value, value) << lamp;
  }

  recorder->Record(SleepReading());
  EXPECT_EQ(recorder->Finish(), "");
  doc = ParseProm(Slurp(Path("quovis.prom")));
  ASSERT_EQ(doc.error, "");
  EXPECT_TRUE(std::isnan(doc.Find("quovis_uncorrectable_rate")->value));
  EXPECT_EQ(doc.Find("quovis_uncorrectable_total")->value, 8);  // a poll of 0 adds nothing
  EXPECT_EQ(doc.Find("quovis_mode")->labels.at("mode_text"), "Sleep");
}

TEST(PromLabel, EscapesBackslashQuoteAndLineFeed) {
  EXPECT_EQ(PromRecorder::LabelValue("a\\b\"c\nd"), "a\\\\b\\\"c\\nd");
  EXPECT_EQ(PromRecorder::LabelValue("/dev/i2c-3"), "/dev/i2c-3");
  // The format is UTF-8: a stray byte, a cut sequence become U+FFFD.
  EXPECT_EQ(PromRecorder::LabelValue("i2c\xFF\"\xC3"), "i2c\xEF\xBF\xBD\\\"\xEF\xBF\xBD");
  EXPECT_EQ(PromRecorder::LabelValue("Gr\xC3\xBC\xC3\x9F"), "Gr\xC3\xBC\xC3\x9F");
}

TEST_F(Folder, PromIsReplacedByARenameAndReadersNeverSeeItPartial) {
  auto recorder = Open("quovis.prom", {"lgdt3305", "/dev/i2c-3"});
  auto& prom = static_cast<PromRecorder&>(*recorder);
  EXPECT_EQ(Entries(), std::vector<std::string>{});  // the start leaves nothing behind
  recorder->Record(DvbtReading());
  prom.Wait();
  struct stat before {
  }, after{};
  ASSERT_EQ(::stat(Path("quovis.prom").c_str(), &before), 0);
  recorder->Record(DvbtReading());
  prom.Wait();
  ASSERT_EQ(::stat(Path("quovis.prom").c_str(), &after), 0);
  EXPECT_NE(before.st_ino, after.st_ino) << "rewritten in place, not renamed over";

  std::atomic<bool> done = false;
  std::atomic<int> reads = 0, partial = 0;
  std::thread reader([&] {
    while (!done) {
      std::string text = Slurp(Path("quovis.prom"));
      PromDocument doc = ParseProm(text);
      if (!doc.error.empty() || !doc.Find("quovis_last_poll_timestamp_seconds")) ++partial;
      ++reads;
    }
  });
  for (int i = 0; i < 2000 || reads < 50; ++i) recorder->Record(DvbtReading());
  prom.Wait();
  done = true;
  reader.join();
  EXPECT_EQ(partial, 0) << "of " << reads << " reads";
  EXPECT_EQ(Entries(), std::vector<std::string>{"quovis.prom"});
}

// A full disk part way through a record: the file is cut back to its last
// whole record, the failure is told once, and once there is room again the
// records go on, each line whole. A file that did not end in a line end gets
// one before the first record.
TEST_F(Folder, AFailedWriteIsCutBackToTheLastWholeRecordAndWritingResumes) {
  const std::string csvRow = CsvRecorder::Row(SleepReading(), {"old", "old"});
  const std::string csvRowCut = csvRow.substr(0, csvRow.size() - 2);
  const struct {
    const char* name;
    std::string before;  // what the file held
    std::string kept;    // how quovis's records begin after it
  } cases[] = {
      {"new.jsonl", "", ""},
      {"unended.jsonl", R"({"old":1})",
       R"({"old":1})"
       "\n"},
      {"new.csv", "", ""},
      {"unended.csv", CsvRecorder::Header() + csvRowCut, CsvRecorder::Header() + csvRow},
      {"half-ended.csv", CsvRecorder::Header() + csvRowCut + "\r", CsvRecorder::Header() + csvRow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(Path(c.name), std::ios::binary) << c.before;
    auto recorder = Open(c.name, {"zl10353", "/dev/i2c-3"});
    std::string text;
    {  // room for the line end and a few bytes of the first record only
      FileSizeLimit full(c.before.size() + 5);
      EXPECT_EQ(recorder->Record(DvbtReading()),
                "cannot write the record to " + Path(c.name) +
                    ": File too large (polling goes on; further write errors are not told)");
      EXPECT_EQ(Slurp(Path(c.name)), c.before);
    }
    EXPECT_EQ(recorder->Record(DvbtReading()), "");
    EXPECT_FALSE(recorder->failing());
    const size_t whole = Slurp(Path(c.name)).size();
    {  // full again part way through the second record
      FileSizeLimit full(whole + 40);
      EXPECT_EQ(recorder->Record(SleepReading()), "");  // told once
      EXPECT_EQ(recorder->failure(), "File too large");
      EXPECT_EQ(Slurp(Path(c.name)).size(), whole);
    }
    EXPECT_EQ(recorder->Record(SleepReading()), "");
    text = Slurp(Path(c.name));
    ASSERT_EQ(text.substr(0, c.kept.size()), c.kept);
    std::string ours = text.substr(c.kept.size());
    if (std::string(c.name).ends_with(".csv")) {
      CsvTable table = ReadCsv(text);
      ASSERT_EQ(table.error, "");
      ASSERT_EQ(table.rows.size(), c.before.empty() ? 3u : 4u);
      EXPECT_EQ(table.rows.back()[31], "zl10353");
      EXPECT_EQ(table.rows.back()[32], "/dev/i2c-3");
      EXPECT_EQ(table.rows.back()[3], "Sleep");
    } else {
      std::istringstream lines(ours);
      std::vector<std::string> modes;
      for (std::string line; std::getline(lines, line);)
        modes.push_back(nlohmann::json::parse(line).at("modeText"));
      EXPECT_EQ(modes, (std::vector<std::string>{"DVB-T", "Sleep"}));
      EXPECT_EQ(ours.back(), '\n');
    }
  }
}

// The .prom writer works beside the poll: the poll after a failed write tells
// it, and the end of the run tells a failed last write no poll has told.
TEST_F(Folder, AFailedPromWriteIsToldOnceByThePollAfterItThenClears) {
  const std::string told = "cannot write the record to " + Path("quovis.prom") +
                           ": Is a directory (polling goes on; further write errors are not told)";
  auto recorder = Open("quovis.prom");
  auto& prom = static_cast<PromRecorder&>(*recorder);
  // The rename fails while the target is a folder.
  fs::create_directories(dir / "quovis.prom" / "in-the-way");
  EXPECT_EQ(recorder->Record(DvbtReading()), "");  // no write has finished yet
  EXPECT_FALSE(recorder->failing());
  prom.Wait();
  EXPECT_EQ(recorder->Record(DvbtReading()), told);
  EXPECT_TRUE(recorder->failing());
  EXPECT_EQ(recorder->failure(), "Is a directory");
  prom.Wait();
  EXPECT_EQ(recorder->Record(DvbtReading()), "");
  EXPECT_EQ(recorder->Finish(), "");  // told once per run
  EXPECT_TRUE(recorder->failing());
  EXPECT_EQ(Entries(), std::vector<std::string>{"quovis.prom"});  // no hidden file left
  fs::remove_all(dir / "quovis.prom");
  EXPECT_EQ(recorder->Record(DvbtReading()), "");
  EXPECT_TRUE(recorder->failing()) << "the last finished write still failed";
  EXPECT_EQ(recorder->Finish(), "");
  EXPECT_FALSE(recorder->failing());
  EXPECT_EQ(ParseProm(Slurp(Path("quovis.prom"))).error, "");

  // Only the last write failed: the end tells it, once.
  recorder = Open("last.prom");
  recorder->Record(DvbtReading());
  EXPECT_EQ(recorder->Finish(), "");
  fs::remove(dir / "last.prom");
  fs::create_directories(dir / "last.prom" / "in-the-way");
  recorder->Record(DvbtReading());
  EXPECT_EQ(recorder->Finish(), "cannot write the record to " + Path("last.prom") +
                                    ": Is a directory (polling goes on; further write errors "
                                    "are not told)");
  EXPECT_EQ(recorder->Finish(), "");
  EXPECT_TRUE(recorder->failing());
}

// The recorder ends with the last poll in the file and nothing else beside it.
TEST_F(Folder, PromRecorderWritesThePendingPollWhenItEnds) {
  auto recorder = Open("quovis.prom");
  for (int i = 0; i < 50; ++i) recorder->Record(DvbtReading());
  recorder.reset();
  PromDocument doc = ParseProm(Slurp(Path("quovis.prom")));
  ASSERT_EQ(doc.error, "");
  ASSERT_TRUE(doc.Find("quovis_polls_total"));
  EXPECT_EQ(doc.Find("quovis_polls_total")->value, 50);
  EXPECT_EQ(doc.Find("quovis_correctable_total")->value, 50 * 12);
  EXPECT_EQ(Entries(), std::vector<std::string>{"quovis.prom"});
}

// The poll does not wake the writer; the writer finds the poll by itself
// (within a twentieth of a second; the test allows ten seconds).
TEST_F(Folder, APromPollReachesTheFileWithoutBeingWaitedFor) {
  auto recorder = Open("quovis.prom");
  recorder->Record(DvbtReading());
  recorder->Finish();  // the writer now sleeps until its next look
  recorder->Record(DvbtReading());
  auto polls = [&] {
    PromDocument doc = ParseProm(Slurp(Path("quovis.prom")));
    const PromSample* total = doc.Find("quovis_polls_total");
    return doc.error.empty() && total ? total->value : -1;
  };
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (polls() != 2 && std::chrono::steady_clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(polls(), 2);
}

// Polls that come while the writer is held up replace one another: once it
// goes on, it writes the newest only. The writer is held in the middle of its
// first rewrite until the test lets it go on.
TEST_F(Folder, PromPollsThatComeWhileTheWriterIsBusyKeepOnlyTheNewest) {
  std::mutex mutex;
  std::condition_variable changed;
  bool released = false;
  std::vector<double> written;  // quovis_polls_total of each rewrite, in order
  auto held = [&](const std::string& path, const std::string& text) {
    std::unique_lock lock(mutex);
    written.push_back(ParseProm(text).Find("quovis_polls_total")->value);
    changed.notify_all();
    changed.wait(lock, [&] { return released; });
    return ReplaceFile(path, text);
  };
  std::unique_ptr<PromRecorder> recorder = PromRecorder::Open(Path("quovis.prom"), {}, held);
  ASSERT_TRUE(recorder);
  const int kPolls = 100;
  for (int i = 0; i < kPolls; ++i) {
    Reading r = DvbtReading();
    r.correctable = i + 1;
    EXPECT_EQ(recorder->Record(r), "");  // the poll does not wait for the writer
  }
  double taken;
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return !written.empty(); });
    taken = written[0];
    released = true;
    changed.notify_all();
  }
  recorder->Wait();
  // Only the newest of the polls handed over behind the held one follows.
  std::vector<double> expected = {taken};
  if (taken < kPolls) expected.push_back(kPolls);
  EXPECT_EQ(written, expected);
  recorder->Record(DvbtReading());
  recorder->Wait();
  expected.push_back(kPolls + 1);
  EXPECT_EQ(written, expected);
  PromDocument doc = ParseProm(Slurp(Path("quovis.prom")));
  ASSERT_EQ(doc.error, "");
  EXPECT_EQ(doc.Find("quovis_polls_total")->value, kPolls + 1);
  EXPECT_EQ(doc.Find("quovis_correctable_total")->value, kPolls * (kPolls + 1) / 2 + 12);
  EXPECT_EQ(Entries(), std::vector<std::string>{"quovis.prom"});
}

TEST_F(Folder, StartFailsWithAMessageNamingThePath) {
  fs::create_directories(dir / "a-folder.csv");
  fs::create_directories(dir / "q.prom");
  ASSERT_EQ(::mkfifo(Path("pipe.jsonl").c_str(), 0600), 0);
  // A character device as /dev/null is; only root may make one.
  bool device = ::mknod(Path("null.csv").c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0;
  std::ofstream(Path("foreign.csv"), std::ios::binary) << "a,b\r\n1,2\r\n";
  std::string older = CsvRecorder::Header();
  older.erase(older.find(",chip,bus"), 9);  // before the chip and bus columns
  std::ofstream(Path("older.csv"), std::ios::binary) << older;
  const std::pair<std::string, std::string> cases[] = {
      {Path("missing/poll.jsonl"), ": No such file or directory"},
      {Path("missing/poll.csv"), ": No such file or directory"},
      {Path("missing/poll.prom"), ": No such file or directory"},
      {Path("a-folder.csv"), ": Is a directory"},
      {Path("q.prom"), ": Is a directory"},
      {Path("pipe.jsonl"), ": it is a FIFO"},
      {Path("null.csv"), ": it is a device"},
      {Path("foreign.csv"), ": its first line is not the header quovis writes"},
      {Path("older.csv"), ": its first line is not the header quovis writes"},
      {Path("poll.txt"), ": unknown format \".txt\" (the name must end in .jsonl, .csv or .prom)"},
      {Path("poll"), ": unknown format \"\" (the name must end in .jsonl, .csv or .prom)"}};
  for (const auto& [path, why] : cases) {
    if (!device && path == Path("null.csv")) continue;
    std::string error;
    EXPECT_FALSE(OpenRecorder(path, {}, error)) << path;
    EXPECT_EQ(error, "cannot record to " + path + why);
  }
  EXPECT_EQ(Slurp(Path("foreign.csv")), "a,b\r\n1,2\r\n");
}

// A link planted where quovis writes never leads a write to its target:
// .jsonl and .csv refuse it at the start; .prom goes through a hidden file
// of a name no one knows beforehand, renamed over the link itself.
TEST_F(Folder, APlantedLinkIsNeverWrittenThrough) {
  const struct {
    const char* record;
    const char* link;
    std::string refused;  // the start's message after the path, or empty
  } cases[] = {
      {"poll.jsonl", "poll.jsonl", ": it is a symbolic link"},
      {"poll.csv", "poll.csv", ": it is a symbolic link"},
      {"quovis.prom", ".quovis.prom.tmp", ""},  // the fixed hidden name of before
      {"quovis.prom", "quovis.prom", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(Path("target"), std::ios::binary) << "precious\n";
    fs::create_symlink(dir / "target", dir / c.link);
    std::string error;
    auto recorder = OpenRecorder(Path(c.record), {}, error);
    EXPECT_EQ(error, c.refused.empty() ? "" : "cannot record to " + Path(c.record) + c.refused);
    if (recorder) {
      EXPECT_EQ(recorder->Record(DvbtReading()), "");
      EXPECT_EQ(recorder->Finish(), "");
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / c.record)));
    }
    EXPECT_EQ(Slurp(Path("target")), "precious\n");
  }
}

// A chip that stops answering is not locked: 0 on the lamps it showed in
// its last answered poll (the DVB-T poll has no sync lamp), on all five when
// it never answered; a sleeping chip's poll shows no lamps and changes none.
TEST_F(Folder, PromLampsOfAChipThatStopsAnsweringShowZero) {
  Reading silent;
  silent.answering = false;
  silent.modeText = "No answer";
  using Lamps = std::array<double, 5>;  // master, eq, fec, sync, afc
  const struct {
    std::vector<Reading> polls;
    Lamps last;
  } cases[] = {
      {{DvbtReading(), silent}, {0, 0, 0, -1, 0}},
      {{DvbtReading(), SleepReading(), silent}, {0, 0, 0, -1, 0}},
      {{silent}, {0, 0, 0, 0, 0}},
      {{silent, DvbtReading()}, {1, 1, 0, -1, 1}},
  };
  for (const auto& c : cases) {
    auto recorder = Open("quovis.prom");
    for (const Reading& r : c.polls) recorder->Record(r);
    recorder->Finish();
    PromDocument doc = ParseProm(Slurp(Path("quovis.prom")));
    ASSERT_EQ(doc.error, "");
    Lamps lamps{};
    for (size_t i = 0; i < lamps.size(); ++i)
      lamps[i] = doc.Find("quovis_locked", {{"lamp", kLampNames[i]}})->value;
    EXPECT_EQ(lamps, c.last) << c.polls.size() << " polls";
  }
}

}  // namespace
