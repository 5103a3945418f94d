#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Keys of the page objects. Several navigation entries may share one page object (the two
// parameter entries of group 5 share the container page and select its sub-page).
namespace PageKey {
inline const QString Overview = QStringLiteral("overview");
inline const QString Assignment = QStringLiteral("assignment");
inline const QString Permissions = QStringLiteral("permissions");
inline const QString CallWaiting = QStringLiteral("callwaiting");
inline const QString ChargeOverview = QStringLiteral("chargeoverview");
inline const QString ChargeSplit = QStringLiteral("chargesplit");
inline const QString ChargeHistogram = QStringLiteral("chargehistogram");
inline const QString SpeedDials = QStringLiteral("speeddials");
inline const QString Diagnosis = QStringLiteral("diagnosis");
inline const QString OutgoingCalls = QStringLiteral("outgoing");
inline const QString IncomingCalls = QStringLiteral("incoming");
inline const QString BlockList = QStringLiteral("blocklist");
inline const QString WakeUp = QStringLiteral("wakeup");
inline const QString Parameters = QStringLiteral("parameters"); // sub-page 0 MSN page, 1 extension page
inline const QString TimeControl = QStringLiteral("timecontrol");
inline const QString Password = QStringLiteral("password");
inline const QString ProgramParameters = QStringLiteral("programparameters");
inline const QString Mqtt = QStringLiteral("mqtt");
inline const QString Info = QStringLiteral("info");
} // namespace PageKey

struct NavigationEntry
{
    int group;
    int entry;
    QString caption;
    QString heading;
    QString pageKey;
    int subPage;
};

// The navigation bar's groups and entries, the tray menu and the start pages.
namespace NavigationTable {
const QList<NavigationEntry>& entries();
QStringList groupCaptions();
// Index into entries(), or -1.
int indexOf(int group, int entry);
int indexOfHeading(const QString& heading);
// The entry shown for a "StartSeite" position; none outside 0..9.
std::optional<int> startPageIndex(int position);
// Tray menu texts in order; an empty text is a separator.
QStringList trayMenuTexts();
} // namespace NavigationTable
