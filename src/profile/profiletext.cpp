#include "profile/profiletext.h"

#include "profile/asciitext.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace tamcal {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

std::string_view unquote(std::string_view value)
{
    const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                        (value.front() == '"' || value.front() == '\'');
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// Finds line breaks fast in a big file: each kind of break is searched for
// with memchr only once the previous find of that kind has been passed.
class LineBreakFinder
{
public:
    explicit LineBreakFinder(std::string_view text)
        : m_text(text), m_nextCr(find('\r', 0)), m_nextLf(find('\n', 0))
    {
    }

    std::size_t from(std::size_t position)
    {
        if (m_nextCr < position)
            m_nextCr = find('\r', position);
        if (m_nextLf < position)
            m_nextLf = find('\n', position);
        return std::min(m_nextCr, m_nextLf);
    }

private:
    std::size_t find(char byte, std::size_t position) const
    {
        const void *hit = std::memchr(m_text.data() + position, byte, m_text.size() - position);
        return hit ? static_cast<const char *>(hit) - m_text.data() : m_text.size();
    }

    std::string_view m_text;
    std::size_t m_nextCr;
    std::size_t m_nextLf;
};

} // namespace

bool isWritableEntry(std::string_view section, std::string_view key,
                     const std::optional<std::string> &value)
{
    const auto hasLineBreak = [](std::string_view text) {
        return std::any_of(text.begin(), text.end(), isLineBreak);
    };
    if (hasLineBreak(section) || hasLineBreak(key) || (value && hasLineBreak(*value)))
        return false;
    const std::string_view name = trimBlanks(key);
    const bool looksLikeOtherLine = !name.empty() && (name.front() == '[' || name.front() == ';');
    return !looksLikeOtherLine && name.find('=') == std::string_view::npos;
}

ProfileText::ProfileText(std::string bytes) : m_bytes(std::move(bytes))
{
    parse();
}

void ProfileText::parse()
{
    const std::size_t size = m_bytes.size();
    m_bodyStart = m_bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    Section *current = &m_sections[""];
    current->appendAt = m_bodyStart;
    LineBreakFinder breaks(m_bytes);
    bool breakSeen = false;
    for (std::size_t start = m_bodyStart; start < size;) {
        const std::size_t end = breaks.from(start);
        std::size_t next = end;
        if (end < size)
            next += m_bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        if (!breakSeen && end < size) {
            m_lineBreak = m_bytes.substr(end, next - end);
            breakSeen = true;
        }
        addLine(start, end, next, current);
        start = next;
    }
}

// Lines of a repeated section belong to no section: only the first section of
// a name is ever searched or written.
void ProfileText::addLine(std::size_t start, std::size_t end, std::size_t next, Section *&current)
{
    const std::string_view line = trimBlanks(slice(start, end));
    if (line.empty())
        return;
    const std::size_t close = line.rfind(']');
    const bool isSectionLine = line.front() == '[' && close != std::string_view::npos;
    if (isSectionLine) {
        auto [entry, isNew] =
            m_sections.try_emplace(lowerAscii(trimBlanks(line.substr(1, close - 1))));
        current = isNew ? &entry->second : nullptr;
    }
    if (!current)
        return;
    current->appendAt = next;
    current->appendNeedsBreak = next == end;
    if (isSectionLine || line.front() == ';')
        return;
    const std::size_t equals = slice(start, end).find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view name = trimBlanks(slice(start, start + equals));
    current->keys.try_emplace(lowerAscii(name), KeyLine{start, start + equals, end, next});
}

std::optional<std::string_view> ProfileText::value(std::string_view section,
                                                   std::string_view key) const
{
    const Section *found = findSection(section);
    const KeyLine *line = found ? findKey(*found, key) : nullptr;
    if (!line)
        return std::nullopt;
    return valueOf(*line);
}

std::optional<std::string_view>
ProfileText::firstValue(std::string_view section,
                        const std::function<bool(std::string_view)> &matches) const
{
    const Section *found = findSection(section);
    if (!found)
        return std::nullopt;
    std::optional<std::string_view> first;
    std::size_t firstStart = m_bytes.size();
    for (const auto &entry : found->keys) {
        const KeyLine &line = entry.second;
        const std::string_view value = valueOf(line);
        if (line.start < firstStart && matches(value)) {
            first = value;
            firstStart = line.start;
        }
    }
    return first;
}

std::string_view ProfileText::valueOf(const KeyLine &line) const
{
    return unquote(trimBlanks(slice(line.equals + 1, line.end)));
}

std::vector<std::string> ProfileText::keyNames(std::string_view section) const
{
    std::vector<std::string> names;
    if (const Section *found = findSection(section)) {
        for (const auto &entry : found->keys)
            names.push_back(entry.first);
    }
    return names;
}

std::optional<std::string> ProfileText::edited(std::string_view section, std::string_view key,
                                               const std::optional<std::string> &value) const
{
    const Section *found = findSection(section);
    const KeyLine *line = found ? findKey(*found, key) : nullptr;
    if (!value) {
        if (!line)
            return std::nullopt;
        return spliced(line->start, line->next, {});
    }
    const std::string_view stored = trimLeadingBlanks(*value);
    if (line) {
        std::string result = replaced(*line, stored);
        return result == m_bytes ? std::nullopt : std::optional(std::move(result));
    }
    const std::string entry = std::string(trimBlanks(key)) + "=" + std::string(stored);
    if (found) {
        const std::string_view lead = found->appendNeedsBreak ? m_lineBreak : std::string_view();
        return spliced(found->appendAt, found->appendAt, std::string(lead) + entry + m_lineBreak);
    }
    const bool needsBreak = m_bytes.size() > m_bodyStart && !isLineBreak(m_bytes.back());
    std::string tail = needsBreak ? m_lineBreak : std::string();
    tail += "[" + std::string(trimBlanks(section)) + "]" + m_lineBreak + entry + m_lineBreak;
    return m_bytes + tail;
}

std::optional<std::string> ProfileText::edited(std::span<const IniChange> changes) const
{
    const std::optional<std::vector<Splice>> splices = inPlaceSplices(changes);
    if (!splices)
        return editedInTurn(changes);
    std::string result;
    result.reserve(m_bytes.size());
    std::size_t copied = 0;
    for (const Splice &splice : *splices) {
        result.append(m_bytes, copied, splice.from - copied);
        result.append(splice.insert);
        copied = splice.to;
    }
    result.append(m_bytes, copied);
    return result == m_bytes ? std::nullopt : std::optional(std::move(result));
}

// When every change meets a key line of its own that the file already holds,
// no change moves a line that another one looks for: they are made in one pass
// over the file instead of one pass each.
std::optional<std::vector<ProfileText::Splice>>
ProfileText::inPlaceSplices(std::span<const IniChange> changes) const
{
    std::vector<Splice> splices;
    splices.reserve(changes.size());
    for (const IniChange &change : changes) {
        const Section *section = findSection(change.section);
        const KeyLine *line = section ? findKey(*section, change.key) : nullptr;
        if (!line)
            return std::nullopt;
        if (change.value)
            splices.push_back(
                {line->start, line->end, keyLineText(*line, trimLeadingBlanks(*change.value))});
        else
            splices.push_back({line->start, line->next, {}});
    }
    std::sort(splices.begin(), splices.end(),
              [](const Splice &a, const Splice &b) { return a.from < b.from; });
    const auto sameLine =
        std::adjacent_find(splices.begin(), splices.end(),
                           [](const Splice &a, const Splice &b) { return a.from == b.from; });
    if (sameLine != splices.end())
        return std::nullopt;
    return splices;
}

std::optional<std::string> ProfileText::editedInTurn(std::span<const IniChange> changes) const
{
    std::unique_ptr<ProfileText> latest;
    for (const IniChange &change : changes) {
        const ProfileText &current = latest ? *latest : *this;
        std::optional<std::string> bytes = current.edited(change.section, change.key, change.value);
        if (bytes)
            latest = std::make_unique<ProfileText>(std::move(*bytes));
    }
    if (!latest || latest->m_bytes == m_bytes)
        return std::nullopt;
    return std::move(latest->m_bytes);
}

const ProfileText::Section *ProfileText::findSection(std::string_view name) const
{
    const auto found = m_sections.find(lowerAscii(trimBlanks(name)));
    return found == m_sections.end() ? nullptr : &found->second;
}

const ProfileText::KeyLine *ProfileText::findKey(const Section &section,
                                                 std::string_view name) const
{
    const auto found = section.keys.find(lowerAscii(trimBlanks(name)));
    return found == section.keys.end() ? nullptr : &found->second;
}

std::string_view ProfileText::slice(std::size_t from, std::size_t to) const
{
    return std::string_view(m_bytes).substr(from, to - from);
}

// The key keeps the file's own spelling of its name; its indentation and the
// blanks around "=" go, as the line is written anew.
std::string ProfileText::replaced(const KeyLine &line, std::string_view value) const
{
    return spliced(line.start, line.end, keyLineText(line, value));
}

std::string ProfileText::keyLineText(const KeyLine &line, std::string_view value) const
{
    const std::string_view name = trimBlanks(slice(line.start, line.equals));
    return std::string(name) + "=" + std::string(value);
}

std::string ProfileText::spliced(std::size_t from, std::size_t to, std::string_view insert) const
{
    std::string result;
    result.reserve(m_bytes.size() - (to - from) + insert.size());
    result.append(m_bytes, 0, from);
    result.append(insert);
    result.append(m_bytes, to);
    return result;
}

} // namespace tamcal
