// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

// A strict reader of RFC 4180 text: every record ends in CR LF; a field is
// either bare (no comma, quote, CR or LF) or quoted, with quotes doubled
// inside. Anything else is an error, with where it was found.
struct CsvTable {
  std::vector<std::vector<std::string>> rows;
  std::string error;  // empty when the whole text was read
};

inline CsvTable ReadCsv(const std::string& text) {
  CsvTable table;
  size_t i = 0;
  auto fail = [&](const std::string& why) {
    table.error = why + " at byte " + std::to_string(i);
    return table;
  };
  while (i < text.size()) {
    std::vector<std::string> row;
    for (;;) {
      std::string field;
      if (i < text.size() && text[i] == '"') {
        ++i;
        for (;;) {
          if (i >= text.size()) return fail("unterminated quoted field");
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              field += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          field += text[i++];
        }
      } else {
        while (i < text.size() && text[i] != ',' && text[i] != '\r') {
          if (text[i] == '"' || text[i] == '\n')
            return fail("quote or bare LF in an unquoted field");
          field += text[i++];
        }
      }
      row.push_back(field);
      if (i < text.size() && text[i] == ',') {
        ++i;
        continue;
      }
      if (text.compare(i, 2, "\r\n") != 0) return fail("record not ended by CR LF");
      i += 2;
      break;
    }
    if (!table.rows.empty() && row.size() != table.rows[0].size())
      return fail("record with " + std::to_string(row.size()) + " fields, not " +
                  std::to_string(table.rows[0].size()));
    table.rows.push_back(row);
  }
  return table;
}
