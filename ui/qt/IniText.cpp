#include "ui/qt/IniText.h"

#include <cctype>
#include <vector>

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

// One line of the text, with where its content and its line end start.
struct Line {
    std::size_t begin, end, next;
    std::string_view Text(std::string_view all) const { return all.substr(begin, end - begin); }
};

std::vector<Line> Lines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        const std::size_t content = end > at && text[end - 1] == '\r' ? end - 1 : end;
        lines.push_back({at, content, next});
        at = next;
    }
    return lines;
}

bool IsSection(std::string_view line) {
    line = Trimmed(line);
    return !line.empty() && line.front() == '[';
}

bool IsGeneral(std::string_view line) {
    return Trimmed(line) == "[General]";
}

// The key of a "key=value" line of [General], or nothing for comments and other lines.
std::optional<std::string> KeyOf(std::string_view line, std::string_view* written = nullptr) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
        return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    if (written)
        *written = Trimmed(line.substr(equals + 1));
    return UnescapedKey(Trimmed(line.substr(0, equals)));
}

// Where key's line is in [General] (the last one counts, as in Qt's reader), and where a new
// line of [General] goes: after its last line with content, or right after its header.
struct Place {
    std::optional<Line> keyLine;
    std::optional<std::size_t> insertAt;
};

Place Locate(std::string_view text, std::string_view key) {
    Place place;
    bool inGeneral = true; // lines before any section belong to [General]
    for (const Line& line : Lines(text)) {
        const std::string_view content = line.Text(text);
        if (IsSection(content)) {
            inGeneral = IsGeneral(content);
            if (inGeneral)
                place.insertAt = line.next;
            continue;
        }
        if (!inGeneral || Trimmed(content).empty())
            continue;
        place.insertAt = line.next;
        if (KeyOf(content) == key)
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
    if (place.keyLine) {
        out.append(text.substr(0, place.keyLine->begin)).append(line);
        out.append(text.substr(place.keyLine->end));
    } else if (place.insertAt) {
        out.append(text.substr(0, *place.insertAt));
        if (!out.empty() && out.back() != '\n')
            out += '\n';
        out.append(line).append("\n").append(text.substr(*place.insertAt));
    } else {
        // No [General] yet: it goes first, as Qt writes it.
        out.append("[General]\n").append(line).append("\n");
        if (!text.empty())
            out.append("\n").append(text);
    }
    return out;
}

} // namespace ui::ini
