#include "settings/settings_store.h"

#include <utility>

#include "base/ascii_case.h"

namespace mirlka {

bool SplitSettingLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return false;
    }
    key = line.substr(0, eq);
    value = line.substr(eq + 1);
    return true;
}

void SectionLines::reserve(std::size_t lines, std::size_t bytes) {
    ends_.reserve(lines);
    text_.reserve(bytes);
}

void SectionLines::push_back(std::string_view line) {
    text_.append(line);
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

void SectionLines::Replace(std::size_t i, std::string_view line) {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    const std::size_t old_size = ends_[i] - begin;
    text_.replace(begin, old_size, line);
    for (std::size_t j = i; j < ends_.size(); ++j) {
        ends_[j] = static_cast<std::uint32_t>(ends_[j] - old_size + line.size());
    }
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

    // Calls onHeader(name) or onLine(line) for every line that is not skipped, in file order.
    auto walk = [bytes](auto&& onHeader, auto&& onLine) {
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
                onHeader(line.substr(1, line.size() - 2));
            } else {
                onLine(line);
            }
        }
    };

    // A first walk counts, so that every vector is allocated once at its final size: a big file
    // then costs one pass of copying, not one per doubling.
    struct Size {
        std::size_t lines = 0;
        std::size_t bytes = 0;
    };
    std::vector<Size> sizes;
    walk([&](std::string_view) { sizes.push_back({}); },
         [&](std::string_view line) {
             if (!sizes.empty()) {
                 sizes.back().lines += 1;
                 sizes.back().bytes += line.size();
             }
         });
    std::vector<SettingsSection> sections;
    sections.reserve(sizes.size());
    walk(
        [&](std::string_view name) {
            const Size& size = sizes[sections.size()];
            sections.push_back({std::string(name), {}});
            sections.back().lines.reserve(size.lines, size.bytes);
        },
        [&](std::string_view line) {
            if (!sections.empty()) {  // lines before the first header belong to no section
                sections.back().lines.push_back(line);
            }
        });
    return sections;
}

std::string RenderSettings(const std::vector<SettingsSection>& sections) {
    std::size_t size = 0;
    for (const SettingsSection& section : sections) {
        size += section.name.size() + 6;
        for (const std::string_view line : section.lines) {
            size += line.size() + 2;
        }
    }
    std::string out;
    out.reserve(size);
    bool first = true;
    for (const SettingsSection& section : sections) {
        if (!first) {
            out += "\r\n";
        }
        first = false;
        out += '[';
        out += section.name;
        out += "]\r\n";
        for (const std::string_view line : section.lines) {
            out += line;
            out += "\r\n";
        }
    }
    return out;
}

bool SettingsStore::Load(const NativePath& path) {
    path_ = path;
    std::string bytes;
    if (path.empty() || !ReadWholeFile(path, bytes)) {
        return false;
    }
    sections_ = ParseSettings(bytes);
    indexed_ = false;
    return true;
}

bool SettingsStore::Write() const {
    return !path_.empty() && WriteFileAtomically(path_, RenderSettings(sections_));
}

const SettingsSection* SettingsStore::FindSection(std::string_view name) const {
    if (!indexed_) {
        firstByName_.clear();
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            firstByName_.emplace(FoldAsciiCase(sections_[i].name, isLeadByte_),
                                 i);  // the first one stays
        }
        indexed_ = true;
    }
    const auto found = firstByName_.find(FoldAsciiCase(name, isLeadByte_));
    return found == firstByName_.end() ? nullptr : &sections_[found->second];
}

SettingsSection* SettingsStore::FindSection(std::string_view name) {
    return const_cast<SettingsSection*>(std::as_const(*this).FindSection(name));
}

SettingsSection& SettingsStore::AddSection(std::string_view name) {
    sections_.push_back({std::string(name), {}});
    if (indexed_) {
        firstByName_.emplace(FoldAsciiCase(name, isLeadByte_), sections_.size() - 1);
    }
    return sections_.back();
}

bool SettingsStore::DeleteSection(std::string_view name) {
    const SettingsSection* found = FindSection(name);
    if (found == nullptr) {
        return false;
    }
    const std::size_t removed = static_cast<std::size_t>(found - sections_.data());
    const std::string key = FoldAsciiCase(found->name, isLeadByte_);
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(removed));
    // The sections behind the removed one move up by one, and a later section of the same name,
    // if there is one, becomes the first.
    for (auto& entry : firstByName_) {
        entry.second -= entry.second > removed ? 1 : 0;
    }
    firstByName_.erase(key);
    for (std::size_t i = removed; i < sections_.size(); ++i) {
        if (EqualsIgnoringAsciiCase(sections_[i].name, key, isLeadByte_)) {
            firstByName_.emplace(key, i);
            break;
        }
    }
    return true;
}

bool SettingsStore::GetValue(std::string_view section, std::string_view key,
                             std::string& value) const {
    const SettingsSection* found = FindSection(section);
    if (found == nullptr) {
        return false;
    }
    for (const std::string_view line : found->lines) {
        std::string_view line_key;
        std::string_view line_value;
        if (SplitSettingLine(line, line_key, line_value) &&
            EqualsIgnoringAsciiCase(line_key, key, isLeadByte_)) {
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
    for (std::size_t i = 0; i < found->lines.size(); ++i) {
        std::string_view existing_key;
        std::string_view existing_value;
        if (SplitSettingLine(found->lines[i], existing_key, existing_value) &&
            EqualsIgnoringAsciiCase(existing_key, key, isLeadByte_)) {
            found->lines.Replace(i, line);
            return;
        }
    }
    found->lines.push_back(line);
}

}  // namespace mirlka
