// The in-memory image of the settings file: ordered sections of raw lines, looked up by name and
// key with ASCII-only case folding, first match winning, written back as a whole.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirlka {

struct SettingsSection {
    std::string name;                // the bytes between the header's brackets, verbatim
    std::vector<std::string> lines;  // raw lines without line end, in file order
};

// Byte-wise comparison in which only 'A' to 'Z' equal 'a' to 'z'. Bytes of double-byte
// characters are not decoded, so they fold by the same rule.
bool NamesEqual(std::string_view a, std::string_view b);

// Parses the raw bytes of a settings file. The bytes are read as a text-mode file would be:
// CR LF is one line end, a lone CR is an ordinary byte and 0x1A ends the input. A leading UTF-8
// byte-order mark is skipped so that an editor that adds one does not cost the first section.
std::vector<SettingsSection> ParseSettings(std::string_view bytes);

// The bytes of the file for these sections, with CR LF line ends: one empty line between two
// sections, nothing before the first header or after the last line.
std::string RenderSettings(const std::vector<SettingsSection>& sections);

class SettingsStore {
  public:
    SettingsStore() = default;
    explicit SettingsStore(const std::string& path) { Load(path); }

    // True when the file was opened and read. An empty path clears path() and keeps the
    // sections; a file that cannot be opened keeps the sections but remembers the path, so
    // that Write() creates the file there.
    bool Load(const std::string& path);

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
    void ClearSections() { sections_.clear(); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::vector<SettingsSection> sections_;
};

}  // namespace mirlka
