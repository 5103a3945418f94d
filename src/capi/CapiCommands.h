#pragma once

#include <cstdint>

// CAPI 2.0 commands as WordCommand = Command × 256 + Subcommand. Plain C++: the simulated
// controller shares the table.
namespace CapiCommand {
enum : std::uint16_t
{
    AlertReq = 0x0180,
    AlertConf = 0x0181,
    ConnectReq = 0x0280,
    ConnectConf = 0x0281,
    ConnectInd = 0x0282,
    ConnectResp = 0x0283,
    ConnectActiveInd = 0x0382,
    ConnectActiveResp = 0x0383,
    DisconnectReq = 0x0480,
    DisconnectConf = 0x0481,
    DisconnectInd = 0x0482,
    DisconnectResp = 0x0483,
    ListenReq = 0x0580,
    ListenConf = 0x0581,
    InfoInd = 0x0882,
    InfoResp = 0x0883,
    ConnectB3Req = 0x8280,
    ConnectB3Conf = 0x8281,
    ConnectB3Ind = 0x8282,
    ConnectB3Resp = 0x8283,
    ConnectB3ActiveInd = 0x8382,
    ConnectB3ActiveResp = 0x8383,
    DisconnectB3Req = 0x8480,
    DisconnectB3Conf = 0x8481,
    DisconnectB3Ind = 0x8482,
    DisconnectB3Resp = 0x8483,
    DataB3Req = 0x8680,
    DataB3Conf = 0x8681,
    DataB3Ind = 0x8682,
    DataB3Resp = 0x8683,
};
} // namespace CapiCommand

namespace CapiSubcommand {
enum : std::uint8_t
{
    Request = 0x80,
    Confirmation = 0x81,
    Indication = 0x82,
    Response = 0x83,
};
} // namespace CapiSubcommand
