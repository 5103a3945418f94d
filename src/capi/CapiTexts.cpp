#include "capi/CapiTexts.h"

#include "capi/CapiLibrary.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Entry = std::pair<quint16, const char*>;

// Class 0x11 repeats the texts of class 0x10 for its low bytes 07 to 0B.
constexpr const char* Busy = "the message could not be accepted because of an internal busy condition";
constexpr const char* OsResource = "OS Resource error (e.g. no memory)";
constexpr const char* NotInstalled = "COMMON-ISDN-API not installed";
constexpr const char* NoExternal = "Controller does not support external equipment";
constexpr const char* OnlyExternal = "Controller does only support external equipment";

// Sorted by value, for the binary search.
constexpr std::array<Entry, 107> ErrorTexts = {{
    {0x1001, "too many applications"},
    {0x1002, "logical block size too small, must be at least 128 bytes ($1002)"},
    {0x1003, "buffer exceeds 64 Kbytes"},
    {0x1004, "message buffer size too small, must be at least 1024 bytes"},
    {0x1005, "max. number of logical connections not supported"},
    {0x1007, Busy},
    {0x1008, OsResource},
    {0x1009, NotInstalled},
    {0x100A, NoExternal},
    {0x100B, OnlyExternal},
    {0x1101, "illegal application number"},
    {0x1102, "illegal command or subcommand or message length less than 12 octets"},
    {0x1103, "the message could not be accepted because of a queue full condition."},
    {0x1104, "queue is empty"},
    {0x1105, "queue overflow, a message was lost."},
    {0x1106, "unknown notification parameter"},
    {0x1107, Busy},
    {0x1108, OsResource},
    {0x1109, NotInstalled},
    {0x110A, NoExternal},
    {0x110B, OnlyExternal},
    {0x2001, "message not supported in current state"},
    {0x2002, "illegal Controller/PLCI/NCCI"},
    {0x2003, "no PLCI available"},
    {0x2004, "no NCCI available"},
    {0x2005, "no LISTEN-Resources available"},
    {0x2006, "no FAX resources available(protocol T.30)"},
    {0x2007, "illegal message parameter coding"},
    {0x3001, "B1 protocol not supported"},
    {0x3002, "B2 protocol not supported"},
    {0x3003, "B3 protocol not supported"},
    {0x3004, "B1 protocol parameter not supported"},
    {0x3005, "B2 protocol parameter not supported"},
    {0x3006, "B3 protocol parameter not supported"},
    {0x3007, "B protocol combination not supported"},
    {0x3008, "NCPI not supported"},
    {0x3009, "CIP Value unknown"},
    {0x300A, "flags not supported (reserved bits)"},
    {0x300B, "facility not supported"},
    {0x300C, "data length not supported by current protocol"},
    {0x300D, "reset procedure not supported by current protocol"},
    {0x300E, "TEI assignment failed"},
    {0x3301, "Protocol error layer 1 (broken line or B-channel removed by signalling protocol)"},
    {0x3302, "Protocol error layer 2"},
    {0x3303, "Protocol error layer 3"},
    {0x3304, "Another application got that call"},
    {0x3311, "Connecting not successful (remote station is no FAX G3 machine)"},
    {0x3312, "Connecting not successful (training error)"},
    {0x3313, "Disconnected before transfer (remote station does not support transfer mode, e.g. resolution)"},
    {0x3314, "Disconnected during transfer (remote abort)"},
    {0x3315, "Disconnected during transfer (remote procedure error, e.g. unsuccessful repetition of T.30 commands)"},
    {0x3316, "Disconnected during transfer (local tx data underrun)"},
    {0x3317, "Disconnected during transfer (local rx data overflow)"},
    {0x3318, "Disconnected during transfer (local abort)"},
    {0x3319, "Illegal parameter coding (e.g. SFF coding error)"},
    {0x3481, "Unallocated (unassigned) number"},
    {0x3482, "No route to specified transit network"},
    {0x3483, "No route to destination"},
    {0x3486, "Channel unacceptable"},
    {0x3487, "Call awarded and being delivered in an established channel"},
    {0x3490, "Normal call clearing"},
    {0x3491, "User busy"},
    {0x3492, "No user responding"},
    {0x3493, "No answer from user (user alerted)"},
    {0x3495, "Call rejected"},
    {0x3496, "Number changed"},
    {0x349A, "Non-selected user clearing"},
    {0x349B, "Destination out of order"},
    {0x349C, "Invalid number format"},
    {0x349D, "Facility rejected"},
    {0x349E, "Response to STATUS ENQUIRY"},
    {0x349F, "Normal, unspecified"},
    {0x34A2, "No circuit / channel available"},
    {0x34A6, "Network out of order"},
    {0x34A9, "Temporary failure"},
    {0x34AA, "Switching equipment congestion"},
    {0x34AB, "Access information discarded"},
    {0x34AC, "Requested circuit / channel not available"},
    {0x34AF, "Resources unavailable, unspecified"},
    {0x34B1, "Quality of service unavailable"},
    {0x34B2, "Requested facility not subscribed"},
    {0x34B9, "Bearer capability not authorized"},
    {0x34BA, "Bearer capability not presently available"},
    {0x34BF, "Service or option not available, unspecified"},
    {0x34C1, "Bearer capability not implemented"},
    {0x34C2, "Channel type not implemented"},
    {0x34C5, "Requested facility not implemented"},
    {0x34C6, "Only restricted digital information bearer capability is available"},
    {0x34CF, "Service or option not implemented, unspecified"},
    {0x34D1, "Invalid call reference value"},
    {0x34D2, "Identified channel does not exist"},
    {0x34D3, "A suspended call exists, but this call identity does not"},
    {0x34D4, "Call identity in use"},
    {0x34D5, "No call suspended"},
    {0x34D6, "Call having the requested call identity has been cleared"},
    {0x34D8, "Incompatible destination"},
    {0x34DB, "Invalid transit network selection"},
    {0x34DF, "Invalid message, unspecified"},
    {0x34E0, "Mandatory information element is missing"},
    {0x34E1, "Message type non-existent or not implemented"},
    {0x34E2, "Message not compatible with call state or message type non-existent or not implemented"},
    {0x34E3, "Information element non-existent or not implemented"},
    {0x34E4, "Invalid information element contents"},
    {0x34E5, "Message not compatible with call state"},
    {0x34E6, "Recovery on timer expiry"},
    {0x34EF, "Protocol error, unspecified"},
    {0x34FF, "Interworking, unspecified"},
}};

constexpr std::array<const char*, 29> CipTexts = {
    "no predefined profile",
    "speech",
    "unrestricted digital information",
    "restricted digital information",
    "3.1 kHz audio",
    "7.0 kHz audio",
    "video",
    "packet mode",
    "56 kBit/s rate adaptation",
    "unrestricted digital information with tones/announcements",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "telephony",
    "fax group 2/3",
    "fax group 4 class 1",
    "Teletex service (basic and mixed), fax group 4 class 2",
    "Teletex service (basic and processable)",
    "Teletex service (basic)",
    "Videotex",
    "Telex",
    "message handling systems according X.400",
    "OSI applications according X.200",
    "7 kHz Telephony",
    "Video Telephony F.721, first connection",
    "Video Telephony F.721, second connection",
};

static_assert(std::is_sorted(ErrorTexts.begin(), ErrorTexts.end(),
                             [](const Entry& a, const Entry& b) { return a.first < b.first; }));

const char* errorTextOf(quint16 info)
{
    const auto it = std::lower_bound(ErrorTexts.begin(), ErrorTexts.end(), info,
                                     [](const Entry& e, quint16 value) { return e.first < value; });
    return it != ErrorTexts.end() && it->first == info ? it->second : "unbekannter Fehler";
}

} // namespace

QString CapiErrorText(quint16 info)
{
    if (info == 0)
        return QStringLiteral("OK");
    const QString code = QStringLiteral("%1").arg(info, 4, 16, QLatin1Char('0')).toUpper();
    return QString::fromUtf8(errorTextOf(info)) + QStringLiteral(" ($") + code + QStringLiteral(")");
}

QString CipValueText(int cipValue)
{
    if (cipValue < 0 || cipValue >= static_cast<int>(CipTexts.size()) || !CipTexts[cipValue])
        return QString();
    return QString::fromUtf8(CipTexts[cipValue]);
}

QString CapiStateText(int state)
{
    switch (state) {
    case 0:
        return QStringLiteral("CAPI 2.0 (32 Bit) installiert");
    case 1:
        return QStringLiteral("CAPI2032.DLL noch nicht geladen.");
    case 2:
        return QStringLiteral("Datei \"%1\" nicht gefunden.").arg(QLatin1String(CapiLibrary::SystemFileName));
    case 3:
        return QStringLiteral("CAPI 2.0 (32 Bit) nicht installiert.");
    default:
        return QString();
    }
}
