#include "ui/qt/IniText.h"

#include <cctype>

namespace ui::ini {

namespace {

constexpr char Hex[] = "0123456789abcdef";

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int HexValue(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string EscapedKey(std::string_view key) {
    std::string out;
    for (const char c : key) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || c == '_' || c == '-' || c == '.') {
            out += c;
        } else {
            out += '%';
            out += Hex[u >> 4];
            out += Hex[u & 15];
        }
    }
    return out;
}

std::string UnescapedKey(std::string_view written) {
    std::string out;
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] == '%' && i + 2 < written.size() && IsHexDigit(written[i + 1]) &&
            IsHexDigit(written[i + 2])) {
            out += static_cast<char>(HexValue(written[i + 1]) * 16 + HexValue(written[i + 2]));
            i += 2;
        } else if (written[i] == '\\') {
            out += '/'; // a group separator, as Qt writes it
        } else {
            out += written[i];
        }
    }
    return out;
}

// An editor's UTF-8 byte-order mark, which Qt's reader skips.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// One line of the text: where it starts, where its content ends (before "\r\n" or "\n") and
// where the next line starts; whether it heads a section and whether it lies in [General].
struct Line {
    std::size_t begin, end, next;
    bool section, inGeneral;
    std::string_view Text(std::string_view all) const { return all.substr(begin, end - begin); }
};

// What Qt's reader takes of a line: up to a ";" that begins a comment, outside quotes and not
// after a backslash.
std::string_view Content(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ';' && !quoted)
            return line.substr(0, i);
    }
    return line;
}

// Qt's rule: the name runs from "[" to the first "]", blanks trimmed, and "general" in any case
// is the section of the values without a group.
bool IsGeneral(std::string_view section) {
    section = section.substr(1, section.find(']') - 1);
    section = Trimmed(section);
    if (section.size() != 7)
        return false;
    for (std::size_t i = 0; i < 7; ++i)
        if (std::tolower(static_cast<unsigned char>(section[i])) != "general"[i])
            return false;
    return true;
}

// The lines one after another, none kept: a file of millions of lines costs no more than one.
class Lines {
public:
    explicit Lines(std::string_view text)
        : text_(text), at_(text.substr(0, 3) == ByteOrderMark ? 3 : 0) {}

    std::optional<Line> Next() {
        if (at_ >= text_.size())
            return std::nullopt;
        std::size_t end = text_.find('\n', at_);
        const std::size_t next = end == std::string_view::npos ? text_.size() : end + 1;
        if (end == std::string_view::npos)
            end = text_.size();
        const std::size_t content = end > at_ && text_[end - 1] == '\r' ? end - 1 : end;
        Line line{at_, content, next, false, inGeneral_};
        const std::string_view kept = Trimmed(Content(line.Text(text_)));
        if (!kept.empty() && kept.front() == '[') {
            line.section = true;
            line.inGeneral = inGeneral_ = IsGeneral(kept);
        }
        at_ = next;
        return line;
    }

private:
    std::string_view text_;
    std::size_t at_;
    bool inGeneral_ = true; // lines before any section belong to [General]
};

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<std::string> KeyOf(std::string_view line, std::string_view* written = nullptr) {
    line = Content(line);
    const auto equals = line.find('=');
    if (Trimmed(line).empty() || equals == std::string_view::npos)
        return std::nullopt;
    if (written)
        *written = Trimmed(line.substr(equals + 1));
    return UnescapedKey(Trimmed(line.substr(0, equals)));
}

bool IsKeyLine(const Line& line, std::string_view text, std::string_view key) {
    return line.inGeneral && !line.section && KeyOf(line.Text(text)) == key;
}

// Where key's last line in [General] is (the one Qt's reader keeps), and where a new line of
// [General] goes: after its last line with content, or right after its header.
struct Place {
    std::optional<Line> keyLine;
    std::optional<std::size_t> insertAt;
};

Place Locate(std::string_view text, std::string_view key) {
    Place place;
    Lines lines(text);
    while (const auto line = lines.Next()) {
        if (line->section) {
            if (line->inGeneral)
                place.insertAt = line->next;
            continue;
        }
        if (!line->inGeneral || Trimmed(line->Text(text)).empty())
            continue;
        place.insertAt = line->next;
        if (IsKeyLine(*line, text, key))
            place.keyLine = line;
    }
    return place;
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The digits of a numeric escape, read as far as they go, as Qt's reader does.
unsigned ReadNumber(std::string_view text, std::size_t& i, unsigned base) {
    unsigned value = 0;
    while (i + 1 < text.size()) {
        const char c = text[i + 1];
        const bool digit = base == 16 ? IsHexDigit(c) : c >= '0' && c <= '7';
        if (!digit)
            break;
        const unsigned next = value * base + static_cast<unsigned>(HexValue(c));
        if (next > 0x10FFFF)
            break;
        value = next;
        ++i;
    }
    return value;
}

} // namespace

std::string EscapedValue(std::string_view value) {
    std::string out;
    bool quote = value.empty() ? false : value.front() == ' ' || value.back() == ' ';
    bool escapeHexDigit = false;
    if (!value.empty() && value.front() == '@')
        out += '@'; // Qt reads a leading @ as a typed value unless it is doubled
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ';' || c == ',' || c == '=')
            quote = true;
        if (escapeHexDigit && IsHexDigit(c)) {
            out += "\\x";
            out += Hex[u >> 4];
            out += Hex[u & 15];
            continue;
        }
        escapeHexDigit = false;
        // Only quoted text is read with its C escapes: a person's unquoted C:\new stays as is.
        if (u < 0x20 || u == 0x7f)
            quote = true;
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += c;
            break;
        default:
            if (u < 0x20 || u == 0x7f) {
                out += "\\x";
                out += Hex[u >> 4];
                out += Hex[u & 15];
                escapeHexDigit = true;
            } else {
                out += c;
            }
        }
    }
    return quote ? '"' + out + '"' : out;
}

std::string UnescapedValue(std::string_view written) {
    written = Trimmed(written);
    // Quoted whole, the text inside is taken with its escapes; otherwise as written, with only
    // the two escapes Qt uses outside quotes undone.
    const bool quoted = written.size() >= 2 && written.front() == '"' && written.back() == '"';
    if (quoted)
        written = written.substr(1, written.size() - 2);
    std::string out;
    std::size_t i = 0;
    if (written.substr(0, 2) == "@@")
        i = 1;
    for (; i < written.size(); ++i) {
        const char c = written[i];
        if (c != '\\' || i + 1 == written.size()) {
            out += c;
            continue;
        }
        const char e = written[i + 1];
        if (e == '\\' || e == '"') {
            out += e;
            ++i;
            continue;
        }
        if (!quoted) {
            out += c;
            continue;
        }
        ++i;
        switch (e) {
        case 'a':
            out += '\a';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'v':
            out += '\v';
            break;
        case '\'':
        case '?':
            out += e;
            break;
        case 'x': {
            const std::size_t before = i;
            const unsigned code = ReadNumber(written, i, 16);
            if (i == before)
                out += "\\x";
            else
                AppendUtf8(out, code);
            break;
        }
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7':
            --i;
            AppendUtf8(out, ReadNumber(written, i, 8));
            break;
        default:
            out += '\\';
            out += e;
        }
    }
    return out;
}

std::optional<std::string> Find(std::string_view text, std::string_view key) {
    const Place place = Locate(text, key);
    if (!place.keyLine)
        return std::nullopt;
    std::string_view written;
    KeyOf(place.keyLine->Text(text), &written);
    return UnescapedValue(written);
}

std::string WithValue(std::string_view text, std::string_view key, std::string_view value) {
    const std::string line = EscapedKey(key) + "=" + EscapedValue(value);
    const Place place = Locate(text, key);
    std::string out;
    out.reserve(text.size() + line.size() + 16);
    if (!place.keyLine && !place.insertAt) {
        // No [General] yet: it goes first, as Qt writes it, after a byte-order mark.
        const std::size_t mark = text.substr(0, 3) == ByteOrderMark ? 3 : 0;
        out.append(text.substr(0, mark)).append("[General]\n").append(line).append("\n");
        if (text.size() > mark)
            out.append("\n").append(text.substr(mark));
        return out;
    }
    // The line Qt reads takes the new value; other lines of the same key go, so that no reader
    // can take an old one.
    std::size_t copied = 0;
    Lines lines(text);
    while (const auto at = lines.Next()) {
        if (place.keyLine && at->begin == place.keyLine->begin) {
            out.append(text.substr(copied, at->begin - copied)).append(line);
            copied = at->end;
        } else if (IsKeyLine(*at, text, key)) {
            out.append(text.substr(copied, at->begin - copied));
            copied = at->next;
        }
        if (!place.keyLine && at->next == *place.insertAt) {
            out.append(text.substr(copied, at->next - copied));
            if (!out.empty() && out.back() != '\n')
                out += '\n';
            out.append(line).append("\n");
            copied = at->next;
        }
    }
    out.append(text.substr(copied));
    return out;
}

} // namespace ui::ini
