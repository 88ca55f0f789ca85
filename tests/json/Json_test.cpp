// SPDX-License-Identifier: GPL-3.0-or-later
#include "json/Json.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Json, RefusalsNameTheEntryTheReaderWasIn) {
  struct Case {
    std::string text, entry, whyStart;
  } cases[] = {
      {R"({"a": {"b": [1, 2, {"c": 1, "c": 2}]}})", "a.b[2].c", "duplicate entry"},
      {R"({"a": 1, "b": {"a": 1}, "c": [{"a": 1}, {"a": 1}]})", "", ""},  // one name per object
      {R"([1, 2, 0x10])", "[2]", "malformed JSON, line 1, column 9: "},
      {R"({"a": "\x"})", "a", "malformed JSON, line 1, column 9: "},
      {R"([1, 2,])", "[2]", "malformed JSON, line 1, column 7: "},
      {R"([1, -0X1F])", "[1]", "malformed JSON, line 1, column 7: "},
      {"{\"a\": 1}\n\n ]", "", "malformed JSON, line 3, column 2: "},
      {"\xEF\xBB\xBF{}", "",
       "malformed JSON, line 1, column 1: the file starts with a byte-order mark"},
      {std::string(64, '[') + std::string(64, ']'), "", ""},
      {std::string(65, '['), "[0][0]", "nesting deeper than 64"},
      {R"({"a": [1, 1e999]})", "a", "number out of range: number overflow parsing '1e999'"},
      {R"({"a": 333333333333333333333e333333})", "a", "number out of range: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Json doc;
    std::string entry = "unset", why = "unset";
    bool ok = ParseJson(c.text, doc, entry, why);
    EXPECT_EQ(ok, c.whyStart.empty());
    if (ok) continue;
    EXPECT_EQ(entry.substr(0, c.entry.size()), c.entry);
    EXPECT_EQ(why.substr(0, c.whyStart.size()), c.whyStart);
  }
}

// Hand-written lines and whole documents write the same texts.
TEST(Json, AppendedTextsMatchTheDocumentWriter) {
  const std::pair<std::string, std::string> texts[] = {
      {"", R"("")"},
      {"plain /", R"("plain /")"},
      {"q\"b\\", R"("q\"b\\")"},
      {"\b\t\n\f\r", R"("\b\t\n\f\r")"},
      {std::string("\x00\x01\x1F\x7F", 4), R"("\u0000\u0001\u001f)"
                                           "\x7F\""},
      {"\xC3\xA9\xE2\x82\xAC\xF4\x8F\xBF\xBF", "\"\xC3\xA9\xE2\x82\xAC\xF4\x8F\xBF\xBF\""},
      {"\x80\xC1\xBF\xF5", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xE0\x9F\xBF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // overlong
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // a surrogate
      {"\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"a\xE2\x82z", "\"a\xEF\xBF\xBDz\""},    // cut short, then ASCII
      {"a\xF0\x9F\x93", "\"a\xEF\xBF\xBD\""},  // cut short at the end
  };
  for (const auto& [text, quoted] : texts) {
    std::string out = "x";
    AppendJsonString(out, text);
    EXPECT_EQ(out, "x" + quoted) << testing::PrintToString(text);
    EXPECT_EQ(JsonText(Json(text)), quoted) << testing::PrintToString(text);
  }
  const std::pair<double, std::string> numbers[] = {
      {0.0, "0.0"},           {-0.0, "-0.0"},
      {25.3, "25.3"},         {-1.5, "-1.5"},
      {100.0, "100.0"},       {123456789012345.6, "123456789012345.6"},
      {1e15, "1e+15"},        {1234567890123456.0, "1.234567890123456e+15"},
      {0.0001, "0.0001"},     {1e-5, "1e-05"},
      {5e-324, "5e-324"},     {1.0 / 3, "0.3333333333333333"},
      {std::nan(""), "null"}, {-HUGE_VAL, "null"},
  };
  for (const auto& [value, text] : numbers) {
    std::string out;
    AppendJsonNumber(out, value);
    EXPECT_EQ(out, text);
    EXPECT_EQ(JsonText(Json(value)), text);
  }
}

}  // namespace
