// The in-memory image of the settings file: ordered sections of raw lines, looked up by name and
// key with ASCII-only case folding that leaves the bytes of double-byte characters as they are,
// first match winning, written back as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/lead_bytes.h"
#include "settings/settings_file.h"

namespace mirlka {

// The raw lines of one section, without line ends, in file order. They are kept back to back in
// one buffer: a file of ten thousand presets holds millions of short lines, and one object per
// line would cost several times the file's size in memory and in time.
class SectionLines {
  public:
    class const_iterator {
      public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        const_iterator() = default;
        const_iterator(const SectionLines* lines, std::size_t i) : lines_(lines), i_(i) {}
        std::string_view operator*() const { return (*lines_)[i_]; }
        const_iterator& operator++() { return ++i_, *this; }
        const_iterator operator++(int) { return {lines_, i_++}; }
        bool operator==(const const_iterator&) const = default;

      private:
        const SectionLines* lines_ = nullptr;
        std::size_t i_ = 0;
    };
    using value_type = std::string_view;

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(begin, ends_[i] - begin);
    }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    void reserve(std::size_t lines, std::size_t bytes);
    void push_back(std::string_view line);
    void Replace(std::size_t i, std::string_view line);  // same position, new text

  private:
    std::string text_;  // every line, back to back
    // Where each line ends in text_. 32 bits: the shipped 32-bit program cannot hold 4 GiB anyway.
    std::vector<std::uint32_t> ends_;
};

struct SettingsSection {
    std::string name;    // the bytes between the header's brackets, verbatim
    SectionLines lines;  // raw lines without line end, in file order
};

// Splits a section's line at its first "=": the key before it and the value after it, both
// untrimmed. False for a line without "=", which has no key and never answers a look-up.
bool SplitSettingLine(std::string_view line, std::string_view& key, std::string_view& value);

// Parses the raw bytes of a settings file. The bytes are read as a text-mode file would be:
// CR LF is one line end, a lone CR is an ordinary byte and 0x1A ends the input. A leading UTF-8
// byte-order mark is skipped so that an editor that adds one does not cost the first section.
std::vector<SettingsSection> ParseSettings(std::string_view bytes);

// The bytes of the file for these sections, with CR LF line ends: one empty line between two
// sections, nothing before the first header or after the last line.
std::string RenderSettings(const std::vector<SettingsSection>& sections);

class SettingsStore {
  public:
    // Names and keys are compared with `isLeadByte`, the lead bytes of the code page the file's
    // names are written in: the system's.
    explicit SettingsStore(LeadByteFn isLeadByte) : isLeadByte_(isLeadByte) {}

    // True when the file was opened and read. An empty path clears path() and keeps the
    // sections; a file that cannot be opened keeps the sections but remembers the path, so
    // that Write() creates the file there.
    bool Load(const NativePath& path);

    // Writes all sections to path() through a temporary file beside it, which replaces the
    // file only once it is complete; on any failure the old file stays as it was. The callers
    // ignore the result: an unwritable settings file is nothing the user can act on.
    bool Write() const;

    // Section pointers and references stay valid until sections are added or removed.
    const SettingsSection* FindSection(std::string_view name) const;
    SettingsSection* FindSection(std::string_view name);
    SettingsSection& AddSection(std::string_view name);
    bool DeleteSection(std::string_view name);

    // On false, value is left untouched.
    bool GetValue(std::string_view section, std::string_view key, std::string& value) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view default_text) const;
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    const std::vector<SettingsSection>& Sections() const { return sections_; }

  private:
    LeadByteFn isLeadByte_;
    NativePath path_;
    std::vector<SettingsSection> sections_;
    // Folded name -> position of the first section of that name, so that finding a section
    // costs the same in a file of ten thousand presets as in one of ten. Built on first use;
    // removing a section shifts the positions behind it, so that drops the index instead.
    mutable std::unordered_map<std::string, std::size_t> firstByName_;
    mutable bool indexed_ = false;
};

}  // namespace mirlka
