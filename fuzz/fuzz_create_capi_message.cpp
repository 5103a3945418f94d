#include "capi/CapiMessageFactory.h"
#include "capi/ReceivedMessages.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Any block, as a broken driver might deliver it: the factory must never read beyond it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<quint8> block(data, data + size);
    auto message = CreateCapiMessage(block);
    if (const auto* ind = dynamic_cast<const TConnectInd*>(message.get()))
        (void)ind->callingPartyNumber().number().size();
    (void)message->bytes();
    FreeCapiMessage(message, [](const QString&) {});
    return 0;
}
