#include "json/Json.h"

#include <gtest/gtest.h>

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
      {"\xEF\xBB\xBF{}", "", "malformed JSON, line 1, column 1: the file starts with a byte-order mark"},
      {std::string(64, '[') + std::string(64, ']'), "", ""},
      {std::string(65, '['), "[0][0]", "nesting deeper than 64"},
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

TEST(Json, WrittenCompactInMemberOrder) {
  Json doc;
  doc["zeta"] = "a\"b\\c\nd";
  doc["alpha"] = true;
  doc["mid"] = -3;
  doc["bytes"] = std::string("ok\xFF");  // not UTF-8
  EXPECT_EQ(JsonText(doc),
            "{\"zeta\":\"a\\\"b\\\\c\\nd\",\"alpha\":true,\"mid\":-3,\"bytes\":\"ok\xEF\xBF\xBD\"}");
}

}  // namespace
