#pragma once

#include "image/ConfigImage.h"

// Where things lie in the image: the extension count, the extension records, the unit counters.
namespace ImageLayout {

// Base byte 2, bounded to 0..8 so that a corrupt image never leads a loop outside the image.
int extensionCount(const ConfigImage& image);

// 27 from firmware 2.00 on, else 24.
int recordLength(int firmware);
// Image offset of the record of extension index g: 301 + g x L.
int recordOffset(int index, int firmware);
// Record bytes sent after the kind byte 7: L - 1 (26) from firmware 2.00, else L - 3 (21).
int sentRecordBytes(int firmware);
// Record byte 17.
bool spontaneousTrunkAccess(const ConfigImage& image, int index);

// Unit counter of extension index k (0..7): charge region bytes 1 + 2k (low), 2 + 2k (high).
int units(const ConfigImage& image, int index);
// Charge bytes sent with "Einheiten übertragen": 17 from firmware 2.00, else 129.
int sentChargeBytes(int firmware);

} // namespace ImageLayout
