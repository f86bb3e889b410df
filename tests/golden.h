// Expected data kept as text files under tests/data: one entry a line, key and text separated by a
// tab, "\n" standing for a line feed, lines starting with '#' ignored.
#pragma once

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace mirlka::test {

inline std::vector<std::pair<std::string, std::string>> ReadGolden(const char* name) {
    std::vector<std::pair<std::string, std::string>> rows;
    std::ifstream in(std::string(MIRLKA_TEST_DATA) + name);
    for (std::string line; std::getline(in, line);) {
        const std::size_t tab = line.find('\t');
        if (line.starts_with('#') || tab == std::string::npos) {
            continue;
        }
        std::string text = line.substr(tab + 1);
        for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) {
            text.replace(at, 2, "\n");
        }
        rows.emplace_back(line.substr(0, tab), text);
    }
    return rows;
}

// The text of `key` in `name`, or a text that no expected value equals.
inline std::string GoldenText(const char* name, const std::string& key) {
    for (const auto& [k, text] : ReadGolden(name)) {
        if (k == key) {
            return text;
        }
    }
    return "(no " + key + " in " + name + ")";
}

}  // namespace mirlka::test
