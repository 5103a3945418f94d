#pragma once

// The parts AppCore owns, in the order they are built and wired; only AppCore.cpp includes this.
#include "shell/AppCore.h"

#include "capi/CapiInfoLines.h"
#include "capi/CapiLibrary.h"
#include "capi/TCapiAnrufMonitor.h"
#include "charges/CallNotification.h"
#include "charges/CallPublisher.h"
#include "charges/ChargePublisher.h"
#include "charges/ChargeUpdate.h"
#include "charges/IncomingCallLog.h"
#include "charges/IncomingRecord.h"
#include "charges/OutgoingCallLog.h"
#include "charges/PendingCall.h"
#include "common/Clock.h"
#include "config/BaseConfig.h"
#include "config/ExtensionConfig.h"
#include "config/SpeedDialList.h"
#include "config/SpeedDialTransfer.h"
#include "diagnosis/LampMatrix.h"
#include "diagnosis/TPCSpeaker.h"
#include "image/ImageLayout.h"
#include "link/PbxLink.h"
#include "link/TComm32.h"
#include "link/Transport.h"
#include "shell/CallBlocking.h"
#include "shell/CallHooks.h"
#include "shell/MqttService.h"
#include "shell/CallerNames.h"
#include "shell/ChargeSettings.h"
#include "shell/DiagnosisSignalling.h"
#include "shell/ExchangeBusAdaptor.h"
#include "shell/ExchangeService.h"
#include "shell/PasswordStore.h"
#include "shell/PortControl.h"
#include "shell/Printout.h"
#include "shell/SecondTick.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"
#include "shell/SettingsSpeedDialStore.h"
#include "shell/StatusLine.h"
#include "shell/TimeControl.h"
#include "shell/TransferLock.h"
#include "shell/VorwahlLibrary.h"
#include "shell/WakeUp.h"
#include "shell/WriteGate.h"

#include <QTimer>

#include <memory>

struct AppCore::Parts
{
    explicit Parts(AppCore::Options& options)
        : clock(options.clock ? *options.clock : SystemClock::instance()), programDir(options.programDir),
          settings(SettingsLocation::resolve(options.configHome, options.programDir)), base(image),
          extensions(image, base), speedDialStore(settings), speedDials(speedDialStore),
          passwords(PasswordStore::defaultPath(options.configHome),
                    options.passwordIterations > 0 ? options.passwordIterations : PasswordStore::DefaultIterations),
          transport(options.transport ? std::move(options.transport) : std::make_unique<TComm32>()),
          link(*transport, clock, image), port(settings, link, status, options.deviceOverride),
          speedDialTransfer(link, speedDials), pendingCall(link.stateEvents(), link, clock),
          chargeUpdate(image, pendingCall, clock, programDir + QStringLiteral("/WinKavex.dat")),
          publisher(chargeUpdate),
          outgoing(pendingCall, chargeUpdate, clock, speedDialStore, programDir + QStringLiteral("/WinKavex.out")),
          incoming(clock, speedDialStore, programDir + QStringLiteral("/WinKavex.in")),
          timeControl(clock, settings, image), wakeUp(clock, settings, link), speaker(clock),
          printout({base, extensions, speedDials, speedDialTransfer, chargeUpdate, settings, clock}),
          hooks(clock, options.configHome + QStringLiteral("/WinKavex/hooks"))
    {}

    Clock& clock;
    QString programDir;
    Settings settings;
    StatusLine status;
    ConfigImage image;
    BaseConfig base;
    ExtensionConfig extensions;
    SettingsSpeedDialStore speedDialStore;
    SpeedDialList speedDials;
    PasswordStore passwords;
    WriteGate writeGate{passwords, status};
    VorwahlLibrary vorwahl;
    std::unique_ptr<Transport> transport;
    PbxLink link;
    PortControl port;
    SpeedDialTransfer speedDialTransfer;
    PendingCall pendingCall;
    ChargeUpdate chargeUpdate;
    ChargePublisher publisher;
    OutgoingCallLog outgoing;
    IncomingCallLog incoming;
    CallNotification notification;
    CallPublisher callPublisher{incoming, outgoing};
    CapiLibrary capiLibrary;
    // After the library: released before it.
    std::unique_ptr<TCapiAnrufMonitor> monitor;
    TimeControl timeControl;
    WakeUp wakeUp;
    LampMatrix lamps;
    TPCSpeaker speaker;
    DiagnosisSignalling signalling{settings, lamps, speaker};
    Printout printout;
    TransferLock transferLock{link, lamps, printout};
    SecondTick tick;
    QTimer timer;
    CallerNames callerNames{clock, settings, status};
    CallBlocking blocking{settings, programDir};
    CallHooks hooks;
    ExchangeService exchange{{link, image, chargeUpdate, passwords}};
    MqttService mqtt{{clock, settings, status, incoming, outgoing, chargeUpdate, exchange,
                      [this] { return link.extensionCount(); }}};
};
