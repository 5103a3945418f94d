#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An incoming call to inject: the caller as the network delivers it (digits without the prefix
// that its type of number implies), the MSN called, the service.
struct CallOffer
{
    enum class Type
    {
        Unknown,
        International,
        National,
    };

    std::string number; // empty: the caller withholds the number
    std::string msn;
    int cip = 1;
    Type type = Type::Unknown;
    int ringSeconds = 0; // the caller hangs up after this many seconds; 0: only on "hangup"

    // First octet of the calling party number: type of number with the ISDN numbering plan.
    std::uint8_t typeOctet() const;
};

// "NUMBER MSN [--cip N] [--type national|international|unknown] [--ring S]". NUMBER "-" or ""
// withholds the number. Without --type the prefix decides: "+" or "00" international, "0"
// national, else unknown; the prefix is dropped either way.
std::optional<CallOffer> parseCallArguments(const std::vector<std::string>& args, std::string* error);

// One line of the control socket and back.
std::string toLine(const CallOffer& call);
std::optional<CallOffer> callFromLine(const std::string& line);
