// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// JSON documents with their members in file order.
using Json = nlohmann::ordered_json;

// Reads a whole document strictly: besides what JSON itself forbids, a
// byte-order mark, a member name given twice in one object and nesting
// deeper than 64 are refused, and so is a NUL byte anywhere (the library
// would take it for the end of the text). On failure `entry` names where the reader was
// ("devices[0].address", empty at the top) and `why` says what is wrong,
// with the line and column where the text itself is malformed. Text from
// the document in either is cut as Excerpt cuts it.
bool ParseJson(const std::string& text, Json& out, std::string& entry, std::string& why);

// The document as compact text; bytes that are not UTF-8 become U+FFFD.
std::string JsonText(const Json& doc);

// The pieces of the same compact text, appended to `out` for writers that
// build a line by hand: a text quoted and escaped (bytes that are not UTF-8
// become U+FFFD) and a number laid out as JsonText writes a double.
void AppendJsonString(std::string& out, std::string_view text);
void AppendJsonNumber(std::string& out, double value);

// The text with every byte that is not UTF-8 replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);
// Text from a document as a message may quote it: at most 80 characters,
// then an ellipsis, so that a huge value cannot flood a terminal or a dialog.
std::string Excerpt(std::string_view text);
