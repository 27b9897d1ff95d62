// The text form of a key file: what registry editors export and import. A file is kept as
// entries (one line each, or several for a hex value continued with "\"), so that a write
// replaces or adds the lines of the values it sets and keeps every other byte as it was read:
// comments, other keys, value types it has no use for, line ends, and the file's encoding
// (8-bit text, or UTF-16 with a byte-order mark as registry editors export it).
#include <cstdio>
#include <cstring>

#include "platform/store.h"
#include "platform/strings.h"

namespace platform {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;

// ---- UTF-16 files, decoded to 8-bit text and back without loss ----

void appendUtf8(std::string& out, std::uint32_t code) {
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

bool isHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Little-endian UTF-16 to UTF-8; a lone surrogate is encoded as its own three bytes, so that
// even a damaged file comes back unchanged. Nothing for an odd number of bytes.
std::optional<std::string> decodeUtf16(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    auto unitAt = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    };
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t code = unitAt(i);
        if (isHighSurrogate(code) && i + 3 < bytes.size() && isLowSurrogate(unitAt(i + 2))) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
            i += 2;
        }
        appendUtf8(out, code);
    }
    return out;
}

// The next code point of UTF-8 text at i (lone surrogates allowed, as decodeUtf16 writes
// them); nothing for bytes that are no such text.
std::optional<std::uint32_t> nextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || i + length > text.size()) return std::nullopt;
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    constexpr std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kShortest[length] || code > 0x10FFFF) return std::nullopt;
    i += length;
    return code;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();)
        if (!nextCodePoint(text, i)) return false;
    return true;
}

std::optional<std::string> encodeUtf16(std::string_view text) {
    std::string out;
    auto putUnit = [&](std::uint32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    for (std::size_t i = 0; i < text.size();) {
        const std::optional<std::uint32_t> code = nextCodePoint(text, i);
        if (!code) return std::nullopt;
        if (*code < 0x10000) {
            putUnit(*code);
        } else {
            putUnit(0xD800 + ((*code - 0x10000) >> 10));
            putUnit(0xDC00 + ((*code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

// ---- values ----

// Reads a quoted string starting at s[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> readQuoted(std::string_view s, std::size_t& pos) {
    if (pos >= s.size() || s[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (c == '\\' && pos + 1 < s.size()) {
            out += s[++pos];
        } else if (c == '"') {
            ++pos;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::string quote(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Up to 8 hex digits, as in "dword:0000002a" and "hex(b):".
std::optional<std::uint32_t> parseHexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return value;
}

// Bytes as "01,02,..": commas, blanks, line ends and the "\" of continued lines between them.
std::optional<std::string> parseHexBytes(std::string_view s) {
    std::string out;
    int high = -1;
    for (char c : s) {
        if (c == ',' || isBlank(c) || c == '\\') continue;
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        if (high < 0) {
            high = d;
        } else {
            out += static_cast<char>(high * 16 + d);
            high = -1;
        }
    }
    if (high >= 0) return std::nullopt;
    return out;
}

std::string formatHexBytes(std::string_view bytes) {
    std::string out;
    char digits[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i) out += ',';
        out += digits;
    }
    return out;
}

// What a value line's data says: a value, or "-", which deletes the value on import.
struct ParsedData {
    bool deletion = false;
    RegValue value;
};

std::optional<ParsedData> parseData(std::string_view data) {
    if (data == "-") return ParsedData{true, {}};
    if (!data.empty() && data[0] == '"') {
        std::size_t pos = 0;
        auto text = readQuoted(data, pos);
        if (!text || !trimmed(data.substr(pos)).empty()) return std::nullopt;
        return ParsedData{false, RegValue::string(std::move(*text))};
    }
    if (data.starts_with("dword:")) {
        const auto number = parseHexNumber(trimmed(data.substr(6)));
        if (!number) return std::nullopt;
        return ParsedData{false, RegValue::number(*number)};
    }
    if (!data.starts_with("hex")) return std::nullopt;
    std::uint32_t type = kRegBinary;
    std::size_t colon = 3;
    if (data.size() > 3 && data[3] == '(') {
        const std::size_t close = data.find(')');
        if (close == std::string_view::npos) return std::nullopt;
        const auto number = parseHexNumber(data.substr(4, close - 4));
        if (!number) return std::nullopt;
        type = *number;
        colon = close + 1;
    }
    if (colon >= data.size() || data[colon] != ':') return std::nullopt;
    auto bytes = parseHexBytes(data.substr(colon + 1));
    if (!bytes) return std::nullopt;
    if (type == kRegSz) {
        // Text with line breaks or NULs is kept in hex form; the stored NUL ends it.
        if (!bytes->empty() && bytes->back() == '\0') bytes->pop_back();
        return ParsedData{false, RegValue::string(std::move(*bytes))};
    }
    return ParsedData{false, RegValue::other(type, std::move(*bytes))};
}

bool needsHexForm(std::string_view text, bool utf16) {
    if (utf16 && !isUtf8(text)) return true;  // no UTF-16 text holds these bytes
    return text.find_first_of(std::string_view("\n\r\0", 3)) != std::string_view::npos;
}

std::string formatData(const RegValue& value, bool utf16) {
    char buffer[32];
    switch (value.type) {
        case RegValue::Type::Dword:
            std::snprintf(buffer, sizeof buffer, "dword:%08x", value.dword);
            return buffer;
        case RegValue::Type::Other:
            if (value.otherType == kRegBinary) return "hex:" + formatHexBytes(value.text);
            std::snprintf(buffer, sizeof buffer, "hex(%x):", value.otherType);
            return buffer + formatHexBytes(value.text);
        case RegValue::Type::String:
            break;
    }
    if (needsHexForm(value.text, utf16)) return "hex(1):" + formatHexBytes(value.text + '\0');
    return quote(value.text);
}

// ---- the file as entries ----

struct Entry {
    enum class Kind { Blank, Comment, Header, Key, Value, Unparsable };
    Kind kind = Kind::Unparsable;
    std::string raw;      // the entry's lines as read, line ends included
    bool ownKey = false;  // a key line naming the file's key, or a value under one
    std::string name;     // Value: its name, empty for the default value "@"
    std::optional<ParsedData> data;
};

// The line end of the entry's last line ("\r\n", "\n", or none at the end of the file).
std::string_view lineEndOf(std::string_view raw) {
    if (raw.ends_with("\r\n")) return "\r\n";
    if (raw.ends_with("\n")) return "\n";
    return {};
}

// A value line's name and the text after its "=".
std::optional<std::pair<std::string, std::string_view>> splitValueLine(std::string_view line) {
    std::size_t pos = 0;
    std::string name;
    if (line[0] == '@') {
        pos = 1;
    } else {
        auto quoted = readQuoted(line, pos);
        if (!quoted) return std::nullopt;
        name = std::move(*quoted);
    }
    const std::string_view rest = trimmed(line.substr(pos));
    if (rest.empty() || rest[0] != '=') return std::nullopt;
    return std::make_pair(std::move(name), trimmed(rest.substr(1)));
}

// True when the last line of raw ends with "\" (blanks after it allowed).
bool isContinued(std::string_view raw) {
    const std::string_view text = trimmed(raw.substr(raw.rfind('\n', raw.size() - 2) + 1));
    return !text.empty() && text.back() == '\\';
}

bool startsHexValue(std::string_view line) {
    const auto parts = line.empty() ? std::nullopt : splitValueLine(line);
    return parts && parts->second.starts_with("hex");
}

Entry classify(std::string raw, const std::string& ownKeyLine, bool& inOwnKey) {
    Entry entry;
    const std::string_view line = trimmed(raw);
    if (line.empty()) {
        entry.kind = Entry::Kind::Blank;
    } else if (line[0] == ';') {
        entry.kind = Entry::Kind::Comment;
    } else if (line == kHeader || line == kOldHeader) {
        entry.kind = Entry::Kind::Header;
    } else if (line[0] == '[' && line.back() == ']') {
        entry.kind = Entry::Kind::Key;
        inOwnKey = equalsNoCase(line, ownKeyLine);
        entry.ownKey = inOwnKey;
    } else if (auto parts = splitValueLine(line)) {
        entry.data = parseData(parts->second);
        if (entry.data) {
            entry.kind = Entry::Kind::Value;
            entry.name = std::move(parts->first);
            entry.ownKey = inOwnKey;
        }
    }
    entry.raw = std::move(raw);
    return entry;
}

// A key file taken apart.
struct KeyFileText {
    bool utf16 = false;
    std::string prefix;  // a byte-order mark, kept as it was
    std::vector<Entry> entries;
    std::string lineEnd = "\n";  // for new lines: the file's first line end
    std::string ownKeyLine;

    bool parsable() const {
        for (const Entry& entry : entries)
            if (entry.kind == Entry::Kind::Unparsable) return false;
        return true;
    }
};

std::vector<std::string> physicalLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// Nothing when the bytes cannot even be decoded.
std::optional<KeyFileText> takeApart(std::string_view bytes, const std::string& keyPath) {
    KeyFileText file;
    file.ownKeyLine = "[HKEY_LOCAL_MACHINE\\" + keyPath + "]";
    std::string text;
    if (bytes.starts_with(kUtf16Bom)) {
        auto decoded = decodeUtf16(bytes.substr(kUtf16Bom.size()));
        if (!decoded) return std::nullopt;
        file.utf16 = true;
        file.prefix = kUtf16Bom;
        text = std::move(*decoded);
    } else {
        if (bytes.starts_with(kUtf8Bom)) file.prefix = kUtf8Bom;
        text = bytes.substr(file.prefix.size());
    }
    const std::vector<std::string> lines = physicalLines(text);
    if (!lines.empty() && !lineEndOf(lines.front()).empty())
        file.lineEnd = lineEndOf(lines.front());
    bool inOwnKey = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string raw = lines[i];
        // A hex value goes on over the following lines while a line ends with "\".
        const bool hex = startsHexValue(trimmed(raw));
        if (hex)
            while (isContinued(raw) && i + 1 < lines.size()) raw += lines[++i];
        const bool cutShort = hex && isContinued(raw);
        file.entries.push_back(classify(std::move(raw), file.ownKeyLine, inOwnKey));
        if (cutShort) file.entries.back().kind = Entry::Kind::Unparsable;
    }
    return file;
}

std::optional<std::string> putTogether(const KeyFileText& file) {
    std::string text;
    for (const Entry& entry : file.entries) text += entry.raw;
    if (!file.utf16) return file.prefix + text;
    auto encoded = encodeUtf16(text);
    if (!encoded) return std::nullopt;
    return file.prefix + *encoded;
}

void setValue(RegValues& values, const std::string& name, const RegValue& value) {
    for (auto& [existing, held] : values)
        if (equalsNoCase(existing, name)) {
            held = value;
            return;
        }
    values.emplace_back(name, value);
}

void eraseValue(RegValues& values, const std::string& name) {
    std::erase_if(values, [&](const auto& held) { return equalsNoCase(held.first, name); });
}

std::string valueLine(const std::string& name, const RegValue& value, const KeyFileText& file) {
    return (name.empty() ? std::string("@") : quote(name)) + "=" + formatData(value, file.utf16);
}

// The entry that holds name's value under the file's key: the last one, which wins on import.
Entry* lastValueEntry(KeyFileText& file, const std::string& name) {
    for (auto entry = file.entries.rbegin(); entry != file.entries.rend(); ++entry)
        if (entry->kind == Entry::Kind::Value && entry->ownKey && equalsNoCase(entry->name, name))
            return &*entry;
    return nullptr;
}

// Where a new value of the file's key goes: after the last key line or value of the key's last
// block, so that comments and blank lines after it stay after it. Nothing without such a block.
std::optional<std::size_t> insertionPoint(const KeyFileText& file) {
    std::optional<std::size_t> point;
    for (std::size_t i = 0; i < file.entries.size(); ++i) {
        const Entry& entry = file.entries[i];
        if (entry.ownKey && (entry.kind == Entry::Kind::Key || entry.kind == Entry::Kind::Value))
            point = i + 1;
    }
    return point;
}

// Inserts a new entry of text (its line end added) at point, ending the line before it first.
void insertLine(KeyFileText& file, std::size_t point, std::string text, Entry::Kind kind) {
    if (point > 0 && lineEndOf(file.entries[point - 1].raw).empty())
        file.entries[point - 1].raw += file.lineEnd;
    Entry entry;
    entry.kind = kind;
    entry.ownKey = true;
    entry.raw = std::move(text) + file.lineEnd;
    file.entries.insert(file.entries.begin() + static_cast<std::ptrdiff_t>(point),
                        std::move(entry));
}

// Adds the file's key at the end, after a blank line: a file of nothing but blanks gets the
// header first. Answers where its values go.
std::size_t appendOwnKey(KeyFileText& file) {
    bool blank = true;
    for (const Entry& entry : file.entries) blank = blank && entry.kind == Entry::Kind::Blank;
    if (blank) insertLine(file, 0, std::string(kHeader), Entry::Kind::Header);
    if (file.entries.back().kind != Entry::Kind::Blank)
        insertLine(file, file.entries.size(), "", Entry::Kind::Blank);
    insertLine(file, file.entries.size(), file.ownKeyLine, Entry::Kind::Key);
    return file.entries.size();
}

}  // namespace

RegValues parseRegistryText(std::string_view bytes, const std::string& keyPath) {
    RegValues values;
    const auto file = takeApart(bytes, keyPath);
    if (!file) return values;
    for (const Entry& entry : file->entries) {
        if (entry.kind != Entry::Kind::Value || !entry.ownKey) continue;
        if (entry.data->deletion)
            eraseValue(values, entry.name);
        else
            setValue(values, entry.name, entry.data->value);
    }
    return values;
}

std::optional<std::string> updateRegistryText(std::string_view bytes, const std::string& keyPath,
                                              const RegValues& values) {
    auto file = takeApart(bytes, keyPath);
    if (!file || !file->parsable()) return std::nullopt;
    for (const auto& [name, value] : values) {
        std::string line = valueLine(name, value, *file);
        if (Entry* entry = lastValueEntry(*file, name)) {
            entry->raw = std::move(line) + std::string(lineEndOf(entry->raw));
            entry->data = ParsedData{false, value};
            continue;
        }
        std::optional<std::size_t> point = insertionPoint(*file);
        if (!point) point = appendOwnKey(*file);
        insertLine(*file, *point, std::move(line), Entry::Kind::Value);
        Entry& added = file->entries[*point];
        added.name = name;
        added.data = ParsedData{false, value};
    }
    return putTogether(*file);
}

}  // namespace platform
