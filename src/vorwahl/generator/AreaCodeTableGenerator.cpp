// Build-time tool: turns the UTF-8 area-code list (KEY|NAME per line) into C++ rows with Windows-1252 texts.
//   AreaCodeTableGenerator INPUT.txt OUTPUT.inc
// Any malformed row fails the build with "file:line: reason", so bad data never reaches the library.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t maxKeyDigits = 5;
constexpr std::size_t maxNameBytes = 200; // leaves room for brackets and carrier text in a 255-byte result

// Unicode code points of the Windows-1252 bytes 0x80..0x9F; 0 marks the five undefined bytes.
constexpr char32_t highControlRange[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                           0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<unsigned char> toCp1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; ++i) {
        if (highControlRange[i] != 0 && highControlRange[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

// Decodes one UTF-8 sequence at text[pos]; advances pos. Rejects overlong forms and surrogates.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (pos + extra >= text.size())
        return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        const auto c = static_cast<unsigned char>(text[pos + i]);
        if ((c & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (c & 0x3F);
    }
    constexpr char32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    pos += extra + 1;
    return cp;
}

struct Row
{
    std::uint32_t key = 0;
    std::string name; // Windows-1252
};

Row parseRow(std::string_view line)
{
    const std::size_t bar = line.find('|');
    if (bar == std::string_view::npos)
        throw std::runtime_error("expected KEY|NAME");
    const std::string_view keyText = line.substr(0, bar);
    const std::string_view nameText = line.substr(bar + 1);
    if (keyText.empty() || keyText.size() > maxKeyDigits)
        throw std::runtime_error("key must have 1 to 5 digits");
    Row row;
    for (char c : keyText) {
        if (c < '0' || c > '9')
            throw std::runtime_error("key is not a decimal number");
        row.key = row.key * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (keyText.front() == '0')
        throw std::runtime_error("key is written without the leading trunk 0");
    if (nameText.empty())
        throw std::runtime_error("empty name");
    for (std::size_t pos = 0; pos < nameText.size();) {
        const auto cp = decodeUtf8(nameText, pos);
        if (!cp)
            throw std::runtime_error("name is not valid UTF-8");
        if (*cp < 0x20 || *cp == 0x7F)
            throw std::runtime_error("control character in name");
        const auto byte = toCp1252(*cp);
        if (!byte)
            throw std::runtime_error("name has a character that Windows-1252 cannot hold");
        row.name.push_back(static_cast<char>(*byte));
    }
    if (row.name.size() > maxNameBytes)
        throw std::runtime_error("name longer than 200 characters");
    return row;
}

// A C++ string literal with every byte outside printable ASCII as a three-digit octal escape
// (octal escapes end after three digits, so a following digit cannot join them).
std::string literal(std::string_view bytes)
{
    std::string out = "\"";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b >= 0x20 && b < 0x7F) {
            out += c;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\%03o", b);
            out += escape;
        }
    }
    out += '"';
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: AreaCodeTableGenerator INPUT.txt OUTPUT.inc\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot open\n";
        return 1;
    }
    std::ostringstream out;
    out << "// Generated at build time from "
        << std::string_view(argv[1]).substr(std::string_view(argv[1]).rfind('/') + 1)
        << "; do not edit. Texts are Windows-1252.\n";
    std::set<std::uint32_t> keys;
    std::string line;
    int lineNumber = 0;
    int errors = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        try {
            const Row row = parseRow(line);
            if (!keys.insert(row.key).second)
                throw std::runtime_error("key " + std::to_string(row.key) + " appears twice");
            out << '{' << row.key << ", " << literal(row.name) << "},\n";
        } catch (const std::runtime_error& e) {
            std::cerr << argv[1] << ':' << lineNumber << ": " << e.what() << '\n';
            ++errors;
        }
    }
    if (errors > 0)
        return 1;
    if (keys.empty()) {
        std::cerr << argv[1] << ": no rows\n";
        return 1;
    }
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file << out.str();
    file.close();
    if (!file) {
        std::cerr << argv[2] << ": cannot write\n";
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
