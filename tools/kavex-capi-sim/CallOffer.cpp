#include "CallOffer.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {

bool allDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

std::optional<CallOffer::Type> typeNamed(const std::string& name)
{
    if (name == "national")
        return CallOffer::Type::National;
    if (name == "international")
        return CallOffer::Type::International;
    if (name == "unknown")
        return CallOffer::Type::Unknown;
    return std::nullopt;
}

const char* typeName(CallOffer::Type type)
{
    switch (type) {
    case CallOffer::Type::National:
        return "national";
    case CallOffer::Type::International:
        return "international";
    default:
        return "unknown";
    }
}

std::optional<int> numberIn(const std::string& text, int low, int high)
{
    if (text.empty() || !allDigits(text) || text.size() > 6)
        return std::nullopt;
    const int value = std::atoi(text.c_str());
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// Drops the prefix that the type implies, or infers the type from the prefix.
void normalise(CallOffer& call, bool typeGiven)
{
    std::string& n = call.number;
    if (startsWith(n, "+")) {
        n.erase(0, 1);
        if (!typeGiven)
            call.type = CallOffer::Type::International;
    } else if (startsWith(n, "00") && (!typeGiven || call.type == CallOffer::Type::International)) {
        n.erase(0, 2);
        call.type = CallOffer::Type::International;
    } else if (startsWith(n, "0") && (!typeGiven || call.type == CallOffer::Type::National)) {
        n.erase(0, 1);
        call.type = CallOffer::Type::National;
    }
}

bool fail(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
    return false;
}

bool applyOption(CallOffer& call, const std::string& option, const std::string& value, std::string* error)
{
    if (option == "--cip") {
        const auto cip = numberIn(value, 0, 65535);
        return cip ? (call.cip = *cip, true) : fail(error, "--cip erwartet eine Zahl 0-65535");
    }
    if (option == "--ring") {
        const auto seconds = numberIn(value, 0, 3600);
        return seconds ? (call.ringSeconds = *seconds, true) : fail(error, "--ring erwartet Sekunden 0-3600");
    }
    if (option == "--type") {
        const auto type = typeNamed(value);
        return type ? (call.type = *type, true) : fail(error, "--type erwartet national, international oder unknown");
    }
    return fail(error, "unbekannte Option " + option);
}

} // namespace

std::uint8_t CallOffer::typeOctet() const
{
    switch (type) {
    case Type::International:
        return 0x11;
    case Type::National:
        return 0x21;
    default:
        return 0x01;
    }
}

std::optional<CallOffer> parseCallArguments(const std::vector<std::string>& args, std::string* error)
{
    std::vector<std::string> positional;
    CallOffer call;
    bool typeGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (startsWith(args[i], "--")) {
            if (i + 1 >= args.size() || !applyOption(call, args[i], args[i + 1], error)) {
                if (i + 1 >= args.size())
                    fail(error, args[i] + " ohne Wert");
                return std::nullopt;
            }
            typeGiven = typeGiven || args[i] == "--type";
            ++i;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) {
        fail(error, "call erwartet NUMMER und MSN");
        return std::nullopt;
    }
    call.number = positional[0] == "-" ? std::string() : positional[0];
    call.msn = positional[1];
    normalise(call, typeGiven);
    if (!allDigits(call.number) || call.number.size() > 30 || call.msn.empty() || !allDigits(call.msn) ||
        call.msn.size() > 30) {
        fail(error, "NUMMER und MSN bestehen aus Ziffern");
        return std::nullopt;
    }
    return call;
}

std::string toLine(const CallOffer& call)
{
    std::ostringstream line;
    line << "call " << (call.number.empty() ? "-" : call.number) << ' ' << call.msn << " --cip " << call.cip
         << " --type " << typeName(call.type) << " --ring " << call.ringSeconds;
    return line.str();
}

std::optional<CallOffer> callFromLine(const std::string& line)
{
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word != "call")
        return std::nullopt;
    std::vector<std::string> args;
    while (in >> word)
        args.push_back(word);
    return parseCallArguments(args, nullptr);
}
