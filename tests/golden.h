// Expected data kept as text files under tests/data: one case a line, its fields separated by
// tabs, lines starting with '#' ignored. In a field \n, \r, \t, \v, \f and \xHH stand for those
// bytes, and a backslash before any other character for that character.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/lead_bytes.h"
#include "base/track_table.h"

namespace mirlka::test {

using Fields = std::vector<std::string>;

inline std::string Unescaped(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
        } else if (const char c = field[++i]; c == 'x') {
            out += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            const std::size_t at = std::string_view("nrtvf").find(c);
            out += at == std::string::npos ? c : "\n\r\t\v\f"[at];
        }
    }
    return out;
}

inline std::vector<Fields> ReadCases(const char* name) {
    std::vector<Fields> cases;
    std::ifstream in(std::string(MIRLKA_TEST_DATA) + name);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.starts_with('#')) {
            continue;
        }
        std::istringstream fields(line + '\t');  // every field ends with a tab
        Fields& row = cases.emplace_back();
        for (std::string field; std::getline(fields, field, '\t');) {
            row.push_back(Unescaped(field));
        }
    }
    return cases;
}

// The second field of each case by its first: a table of keyed texts.
inline std::map<std::string, std::string> GoldenMap(const char* name) {
    std::map<std::string, std::string> texts;
    for (const Fields& fields : ReadCases(name)) {
        texts.emplace(fields[0], fields.size() > 1 ? fields[1] : "");
    }
    return texts;
}

// The text of `key` in `name`, or a text that no expected value equals.
inline std::string GoldenText(const char* name, const std::string& key) {
    const auto texts = GoldenMap(name);
    const auto found = texts.find(key);
    return found == texts.end() ? "(no " + key + " in " + name + ")" : found->second;
}

// Sets the entries written in `text` as "row:value" (or "row=value") apart by blanks; `first` is
// the number that the text gives the table's first row.
inline void SetEntries(TrackTable& table, const std::string& text, int first = 0) {
    std::istringstream in(text);
    for (int row, value; in >> row && in.ignore() >> value;) {
        table.SetEntry(row - first, value);
    }
}

// The rows that hold a value, as "row=value" from 1.
inline std::string Entries(const TrackTable& table) {
    std::string text;
    for (int n = 0; n < kTrackCount; ++n) {
        if (table.Entry(n) != 0) {
            text += (text.empty() ? "" : " ") + std::to_string(n + 1) + "=" +
                    std::to_string(table.Entry(n));
        }
    }
    return text;
}

// The lead bytes of the ANSI code pages that tables name, as Windows reports them (GetCPInfo): the
// program asks the system, the core's tests say them.
inline LeadByteFn LeadBytesOf(const std::string& codePage) {
    static const std::map<std::string, LeadByteFn> rules = {
        {"1252", [](unsigned char) { return false; }},
        {"932",
         [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }},
        {"936", [](unsigned char b) { return b >= 0x81 && b <= 0xFE; }},
        {"949", [](unsigned char b) { return b >= 0x81 && b <= 0xFE; }},
        {"950", [](unsigned char b) { return b >= 0x81 && b <= 0xFE; }},
    };
    return rules.at(codePage);
}

using Table = std::pair<const char*, std::function<std::string(const Fields&)>>;

// Each row of each table holds the inputs, and its last field is what `result` must make of them.
inline void ExpectTables(std::initializer_list<Table> tables) {
    for (const auto& [file, result] : tables) {
        const auto rows = ReadCases(file);
        EXPECT_FALSE(rows.empty()) << file;
        for (const Fields& row : rows) {
            EXPECT_EQ(result(row), row.back()) << file << ": " << row[0];
        }
    }
}

}  // namespace mirlka::test
