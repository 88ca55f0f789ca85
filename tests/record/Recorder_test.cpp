// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/Recorder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "record/CsvRecorder.h"
#include "record/JsonlRecorder.h"
#include "record/PromRecorder.h"
#include "record/RecordText.h"
#include "record/ReplaceFile.h"
#include "support/FileSizeLimit.h"
#include "support/Headless.h"
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
  std::unique_ptr<Recorder> Open(const std::string& name, const RecordLabels& labels = {}) {
    std::string error;
    auto recorder = OpenRecorder(Path(name), labels, error);
    EXPECT_TRUE(recorder) << error;
    return recorder;
  }
  // A counter of the .prom file, or -1 when the file does not parse or lacks it.
  double PromValue(const char* metric, const std::string& name = "quovis.prom") const {
    PromDocument doc = ParseProm(Slurp(Path(name)));
    const PromSample* s = doc.Find(metric);
    return doc.error.empty() && s ? s->value : -1;
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    return names;
  }
};

// The records' own texts pin the common cases; these are the rest.
TEST(RecordText, TimestampsColoursAndFields) {
  EXPECT_EQ(IsoUtcText(std::chrono::system_clock::time_point{milliseconds(-1)}),
            "1969-12-31T23:59:59.999Z");
  const std::pair<int32_t, const char*> colours[] = {
      {0x00FF00, "green"}, {0x0080FF, "orange"}, {0x0000FF, "red"}, {0x123456, "#563412"}};
  for (auto [value, name] : colours) EXPECT_EQ(ColorName(value), name) << std::hex << value;
  EXPECT_EQ(CsvRecorder::Field("a\rb") + "|" + CsvRecorder::Field(""), "\"a\rb\"|");
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

// Rows go on under the one header when the file is opened again; the
// kernel view's columns come last, empty without a frontend.
TEST_F(Folder, CsvHasOneHeaderThenARowAPoll) {
  for (int run = 0; run < 2; ++run) {
    auto recorder = Open("poll.csv", {"zl10353", "/dev/i2c-3"});
    recorder->Record(DvbtReading());
    if (run == 0) recorder->Record(SleepReading());
  }
  const std::string header =
      "time,answering,mode,mode_text,lock_master,lock_eq,lock_fec,lock_sync,lock_afc,snr_db,"
      "average_db,colour,uncorrectable,correctable,ber_counter,uncorrectable_rate,"
      "correctable_ber,carrier_offset,carrier_offset_hex,modulation,modulation_text,hierarchy,"
      "hierarchy_text,select_hplp,code_rate_caption,code_rate,code_rate_text,guard,guard_text,"
      "transmission_mode,transmission_mode_text,chip,bus,kernel_locked,kernel_signal_dbm,"
      "kernel_signal_pct,kernel_cnr_db,kernel_pre_ber,kernel_post_ber,kernel_per,"
      "kernel_ucb_total,disagree\r\n";
  const std::string noKernel = ",,,,,,,,,\r\n";
  const std::string dvbt =
      "2026-12-07T16:45:12.345Z,1,4,DVB-T,1,1,0,-1,1,25.3,24.9,yellow,7,12,1,"
      "0.00018041702105724375,0.00018310826276035706,\"-1,5 \"\"kHz\"\"\nnext\",FFFF,"
      "2,QAM64,0,none,0,hp code rate:,1,2/3,1,1/16,1,8K,zl10353,/dev/i2c-3" +
      noKernel;
  const std::string sleep = "2000-02-29T23:59:59.007Z,1,3,Sleep,-1,-1,-1,-1,-1,0,0,grey,0,0,7,,0," +
                            std::string(14, ',') + "zl10353,/dev/i2c-3" + noKernel;
  EXPECT_EQ(Slurp(Path("poll.csv")), header + dvbt + sleep + dvbt);
}

// The exact text of a record: member order, which numbers are whole, nulls
// and texts through the JSON writer.
TEST(JsonlLine, ExactTextOfEachKindOfPoll) {
  Reading awkward = SleepReading();
  awkward.answering = false;
  awkward.mode = -1;
  awkward.modeText = "q\"b\t";
  awkward.snr = -0.0f;
  awkward.average = 1234.5f;
  awkward.color = 0x00C000;
  awkward.uncorrectable = 1e15;
  awkward.correctable = -2147483647 - 1;
  awkward.berCounter = 0.5;
  awkward.uncorrectableRate = 0.0001;
  awkward.correctableBer = 1.5e-5;
  awkward.carrierOffset = "\xFFok";  // not UTF-8
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
      {awkward,
       R"({"time":"2000-02-29T23:59:59.007Z","answering":false,"mode":-1,"modeText":"q\"b\t",)"
       R"("locks":{"master":-1,"eq":-1,"fec":-1,"sync":-1,"afc":-1},"snr":0,"average":1234.5,)"
       R"("colour":"#00C000","uncorrectable":1e+15,"correctable":-2147483648,)"
       R"("berCounter":0.5,"uncorrectableRate":0.0001,"correctableBer":1.5e-05,)"
       R"("carrierOffset":")" +
           kFffd + R"(ok","carrierOffsetHex":null,"tps":null})"},
  };
  const std::string labels = R"(,"chip":"s5h1409","bus":"sim:a\"b)" + kFffd + R"("})";
  for (const auto& [reading, line] : cases)
    EXPECT_EQ(JsonlRecorder::Line(reading, {"s5h1409", "sim:a\"b\xFF"}),
              line.substr(0, line.size() - 1) + labels);
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

  recorder->Record(SleepReading());
  EXPECT_EQ(recorder->Finish(), "");
  doc = ParseProm(Slurp(Path("quovis.prom")));
  ASSERT_EQ(doc.error, "");
  EXPECT_TRUE(std::isnan(doc.Find("quovis_uncorrectable_rate")->value));
  EXPECT_EQ(doc.Find("quovis_uncorrectable_total")->value, 8);  // a poll of 0 adds nothing
  EXPECT_EQ(doc.Find("quovis_mode")->labels.at("mode_text"), "Sleep");
}

// The format is UTF-8: a stray byte, a cut sequence become U+FFFD.
TEST(PromLabel, EscapesBackslashQuoteAndLineFeed) {
  const std::pair<const char*, const char*> cases[] = {
      {"a\\b\"c\nd", "a\\\\b\\\"c\\nd"},
      {"/dev/i2c-3", "/dev/i2c-3"},
      {"i2c\xFF\"\xC3", "i2c\xEF\xBF\xBD\\\"\xEF\xBF\xBD"},
      {"Gr\xC3\xBC\xC3\x9F", "Gr\xC3\xBC\xC3\x9F"}};
  for (auto [in, out] : cases) EXPECT_EQ(PromRecorder::LabelValue(in), out) << in;
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
    std::string kept;    // what comes before quovis's records after it
  } cases[] = {
      {"unended.jsonl", R"({"old":1})",
       R"({"old":1})"
       "\n"},
      {"new.csv", "", CsvRecorder::Header()},
      {"unended.csv", CsvRecorder::Header() + csvRowCut, CsvRecorder::Header() + csvRow},
      {"half-ended.csv", CsvRecorder::Header() + csvRowCut + "\r", CsvRecorder::Header() + csvRow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(Path(c.name), std::ios::binary) << c.before;
    auto recorder = Open(c.name, {"zl10353", "/dev/i2c-3"});
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
    const RecordLabels labels = {"zl10353", "/dev/i2c-3"};
    auto record = [&](const Reading& r) {
      return std::string(c.name).ends_with(".csv") ? CsvRecorder::Row(r, labels)
                                                   : JsonlRecorder::Line(r, labels) + "\n";
    };
    EXPECT_EQ(Slurp(Path(c.name)), c.kept + record(DvbtReading()) + record(SleepReading()));
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

// The poll does not wake the writer; the writer finds the poll by itself
// (within a twentieth of a second; the test allows ten seconds). The
// recorder ends with the last poll in the file and nothing else beside it;
// its start leaves nothing behind.
TEST_F(Folder, APromPollReachesTheFileWithoutBeingWaitedForAndTheLastWhenItEnds) {
  auto recorder = Open("quovis.prom");
  EXPECT_EQ(Entries(), std::vector<std::string>{});
  recorder->Record(DvbtReading());
  recorder->Finish();  // the writer now sleeps until its next look
  recorder->Record(DvbtReading());
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (PromValue("quovis_polls_total") != 2 && std::chrono::steady_clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(PromValue("quovis_polls_total"), 2);
  for (int i = 2; i < 50; ++i) recorder->Record(DvbtReading());
  recorder.reset();
  EXPECT_EQ(PromValue("quovis_polls_total"), 50);
  EXPECT_EQ(Entries(), std::vector<std::string>{"quovis.prom"});
}

TEST_F(Folder, StartFailsWithAMessageNamingThePath) {
  fs::create_directories(dir / "a-folder.csv");
  fs::create_directories(dir / "q.prom");
  ASSERT_EQ(::mkfifo(Path("pipe.jsonl").c_str(), 0600), 0);
  // A character device as /dev/null is; only root may make one.
  bool device = ::mknod(Path("null.csv").c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0;
  std::ofstream(Path("foreign.csv"), std::ios::binary) << "a,b\r\n1,2\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {Path("missing/poll.jsonl"), ": No such file or directory"},
      {Path("missing/poll.prom"), ": No such file or directory"},
      {Path("a-folder.csv"), ": Is a directory"},
      {Path("q.prom"), ": Is a directory"},
      {Path("pipe.jsonl"), ": it is a FIFO"},
      {Path("null.csv"), ": it is a device"},
      {Path("foreign.csv"), ": its first line is not the header quovis writes"},
      {Path("poll.txt"), ": unknown format \".txt\" (the name must end in .jsonl, .csv or .prom)"}};
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
