#include "CtlSpeedDials.h"

#include "CtlCommand.h"
#include "CtlLink.h"
#include "CtlRemote.h"

#include "common/MessageTable.h"
#include "config/SpeedDialCodec.h"
#include "config/SpeedDialList.h"
#include "config/SpeedDialTransfer.h"

namespace {
QString withPort(int message, const QString& port)
{
    return MessageTable::text(message, port);
}
} // namespace

int ctlReadSpeedDials(const CtlOptions& options, SpeedDialList& list)
{
    if (const std::optional<CtlRemote> remote = CtlRemote::find(options)) {
        const CtlRemote::Answer answer = remote->call(QStringLiteral("ReadSpeedDials"));
        if (answer.status != ExitOk)
            return answer.reported();
        list.setRead();
        for (const QByteArray& chunk : answer.speedDials) {
            if (const auto entry = SpeedDialCodec::decodeReply(chunk))
                list.applyEntry(*entry);
        }
        return ExitOk;
    }
    CtlLink link(options);
    if (const int status = link.open(); status != ExitOk)
        return status;
    if (const int status = link.read(); status != ExitOk)
        return status;
    // The automatic repeat belongs to the first read only; a later time-out ends with message 4.
    link.link().setFirstRead(false);

    SpeedDialTransfer reader(link.link(), list);
    int result = ExitOk;
    bool done = false;
    QObject::connect(&reader, &SpeedDialTransfer::finished, [&] {
        done = true;
        link.quit();
    });
    QObject::connect(&link.link(), &PbxLink::failed, [&](int message) {
        result = ExitComm;
        done = true;
        ctlError(withPort(message, link.link().portName()));
        link.quit();
    });
    if (reader.start() == SpeedDialTransfer::Start::NotAvailable) {
        ctlError(MessageTable::text(Msg::NoSpeedDials));
        return ExitFirmware;
    }
    if (!done)
        link.run(-1);
    if (link.interrupted())
        return link.interruptedStatus();
    if (!done) {
        ctlError(withPort(Msg::CommError, link.link().portName()));
        return ExitComm;
    }
    return result;
}
