#pragma once

#include <QString>
#include <QtGlobal>

// "OK" for 0; for any other CAPI info value its text (or "unbekannter Fehler"), then " ($XXXX)"
// with the value in four upper-case hexadecimal digits.
QString CapiErrorText(quint16 info);
// The service of a CIP value; empty for a value without text.
QString CipValueText(int cipValue);
// The state of the CAPI library binding (see CapiLibrary::State); empty for any other value.
QString CapiStateText(int state);
