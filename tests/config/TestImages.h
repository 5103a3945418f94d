#pragma once

#include "image/ConfigImage.h"

#include <QByteArray>

// Plausible images as an exchange would deliver them after compaction, built from bytes: four
// MSNs with numbers and assignments, every kind of forwarding, PINs, call waiting consistent with
// the assignments and services, unit counters, and a pattern in every byte the program does not
// interpret (so that a test sees it survive).
namespace TestImages {
ConfigImage make(int major, int minor, int extensionCount);
inline ConfigImage firmware193()
{
    return make(1, 93, 3);
}
inline ConfigImage firmware198()
{
    return make(1, 98, 8);
}
inline ConfigImage firmware200()
{
    return make(2, 0, 8);
}

// Record offset of extension g in such an image.
int record(const ConfigImage& image, int g);
// Bytes as hex for readable failures: "07 F1 FF".
QByteArray hex(const ConfigImage& image, int offset, int length);
} // namespace TestImages
