#pragma once

#include <QString>

class CapiLibrary;

// The two CAPI lines of the base configuration page: "CAPI-Hersteller" and "CAPI-Version".
struct CapiInfoLines
{
    QString manufacturer;
    QString version;
    bool red = false; // the manufacturer line is drawn in red when the CAPI is not usable
};

CapiInfoLines capiInfoLines(const CapiLibrary& library);
