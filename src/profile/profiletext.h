#pragma once

#include "profile/inichange.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tamcal {

// The bytes of one profile file with an index from lower-cased section and key
// names to their lines. Immutable: an edit yields the bytes of a new file, in
// which every line but the edited one is kept byte for byte.
class ProfileText
{
public:
    explicit ProfileText(std::string bytes);

    const std::string &bytes() const { return m_bytes; }

    // The value as it reads: blanks trimmed, one pair of matching quotes removed.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    // The names of the section's keys in lower case, in no particular order; a
    // name given twice is listed once, as only its first line counts.
    std::vector<std::string> keyNames(std::string_view section) const;

    // The value of the key nearest the top of the section that `matches`.
    std::optional<std::string_view>
    firstValue(std::string_view section,
               const std::function<bool(std::string_view)> &matches) const;

    // The file after writing (or, with no value, removing) one key; nothing when
    // the file would stay as it is.
    std::optional<std::string> edited(std::string_view section, std::string_view key,
                                      const std::optional<std::string> &value) const;

    // The file after making the changes in turn, as one edit after another
    // would leave it; nothing when the file would stay as it is.
    std::optional<std::string> edited(std::span<const IniChange> changes) const;

private:
    struct KeyLine
    {
        std::size_t start;  // first byte of the line
        std::size_t equals; // the first "="
        std::size_t end;    // the line break, or the end of the file
        std::size_t next;   // first byte after the line break
    };
    struct Section
    {
        std::size_t appendAt = 0;      // after the last non-blank line
        bool appendNeedsBreak = false; // that line has no line break
        std::unordered_map<std::string, KeyLine> keys;
    };

    struct Splice
    {
        std::size_t from;
        std::size_t to;
        std::string insert;
    };

    void parse();
    std::optional<std::vector<Splice>> inPlaceSplices(std::span<const IniChange> changes) const;
    std::optional<std::string> editedInTurn(std::span<const IniChange> changes) const;
    void addLine(std::size_t start, std::size_t end, std::size_t next, Section *&current);
    const Section *findSection(std::string_view name) const;
    const KeyLine *findKey(const Section &section, std::string_view name) const;
    std::string_view slice(std::size_t from, std::size_t to) const;
    // The value as it reads: blanks trimmed, one pair of matching quotes removed.
    std::string_view valueOf(const KeyLine &line) const;
    std::string replaced(const KeyLine &line, std::string_view value) const;
    std::string keyLineText(const KeyLine &line, std::string_view value) const;
    std::string spliced(std::size_t from, std::size_t to, std::string_view insert) const;

    std::string m_bytes;
    std::string m_lineBreak = "\r\n"; // the file's own, from its first line break
    std::size_t m_bodyStart = 0;      // after a UTF-8 byte-order mark
    std::unordered_map<std::string, Section> m_sections;
};

// Whether a write could store this entry as one line that reads back as written:
// no line breaks anywhere, and a key that cannot be taken for a section line, a
// comment or part of a name=value pair.
bool isWritableEntry(std::string_view section, std::string_view key,
                     const std::optional<std::string> &value);

} // namespace tamcal
