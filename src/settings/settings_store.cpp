#include "settings/settings_store.h"

#include <cstdio>
#include <utility>

#include "settings/file_replace.h"

namespace mirlka {

namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The key is the text before the first "=" and the value all after it, untrimmed; a line
// without "=" has no key and never answers a look-up.
bool SplitKey(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return false;
    }
    key = line.substr(0, eq);
    value = line.substr(eq + 1);
    return true;
}

// Stops at the end of the file or at the first read error, keeping what came before.
std::string ReadWholeFile(std::FILE* file) {
    std::string bytes;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<SettingsSection> ParseSettings(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) {
        bytes.remove_prefix(kBom.size());
    }
    // Old DOS editors end text with Ctrl+Z; nothing after it is text.
    const std::size_t eof = bytes.find('\x1A');
    if (eof != std::string_view::npos) {
        bytes = bytes.substr(0, eof);
    }

    std::vector<SettingsSection> sections;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(start, end - start);
        if (end < bytes.size() && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);  // CR LF is one line end; a CR elsewhere is an ordinary byte
        }
        start = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections.push_back({std::string(line.substr(1, line.size() - 2)), {}});
        } else if (!sections.empty()) {
            sections.back().lines.emplace_back(line);
        }
    }
    return sections;
}

std::string RenderSettings(const std::vector<SettingsSection>& sections) {
    std::string out;
    bool first = true;
    for (const SettingsSection& section : sections) {
        if (!first) {
            out += "\r\n";
        }
        first = false;
        out += '[';
        out += section.name;
        out += "]\r\n";
        for (const std::string& line : section.lines) {
            out += line;
            out += "\r\n";
        }
    }
    return out;
}

bool SettingsStore::Load(const std::string& path) {
    path_ = path;
    if (path.empty()) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    // A read error keeps what was read before it; the file still counts as read.
    const std::string bytes = ReadWholeFile(file);
    std::fclose(file);
    sections_ = ParseSettings(bytes);
    return true;
}

bool SettingsStore::Write() const {
    if (path_.empty()) {
        return false;
    }
    const std::string temp = path_ + ".tmp";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const std::string bytes = RenderSettings(sections_);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    // Closing can be where a full disk is first noticed, so its result counts too.
    ok = std::fclose(file) == 0 && ok;
    if (ok && ReplaceFileAtomically(temp, path_)) {
        return true;
    }
    std::remove(temp.c_str());
    return false;
}

const SettingsSection* SettingsStore::FindSection(std::string_view name) const {
    for (const SettingsSection& section : sections_) {
        if (NamesEqual(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

SettingsSection* SettingsStore::FindSection(std::string_view name) {
    return const_cast<SettingsSection*>(std::as_const(*this).FindSection(name));
}

SettingsSection& SettingsStore::AddSection(std::string_view name) {
    sections_.push_back({std::string(name), {}});
    return sections_.back();
}

bool SettingsStore::DeleteSection(std::string_view name) {
    const SettingsSection* found = FindSection(name);
    if (found == nullptr) {
        return false;
    }
    sections_.erase(sections_.begin() + (found - sections_.data()));
    return true;
}

bool SettingsStore::GetValue(std::string_view section, std::string_view key,
                             std::string& value) const {
    const SettingsSection* found = FindSection(section);
    if (found == nullptr) {
        return false;
    }
    for (const std::string& line : found->lines) {
        std::string_view line_key;
        std::string_view line_value;
        if (SplitKey(line, line_key, line_value) && NamesEqual(line_key, key)) {
            value.assign(line_value);
            return true;
        }
    }
    return false;
}

std::string SettingsStore::GetString(std::string_view section, std::string_view key,
                                     std::string_view default_text) const {
    std::string value;
    if (GetValue(section, key, value)) {
        return value;
    }
    return std::string(default_text);
}

void SettingsStore::SetValue(std::string_view section, std::string_view key,
                             std::string_view value) {
    SettingsSection* found = FindSection(section);
    if (found == nullptr) {
        found = &AddSection(section);
    }
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=").append(value);
    for (std::string& existing : found->lines) {
        std::string_view existing_key;
        std::string_view existing_value;
        if (SplitKey(existing, existing_key, existing_value) && NamesEqual(existing_key, key)) {
            existing = std::move(line);
            return;
        }
    }
    found->lines.push_back(std::move(line));
}

}  // namespace mirlka
