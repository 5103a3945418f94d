#pragma once

/* The two exports of libvorwahl.so. Strings are short strings: one length byte, then up to 255
 * Windows-1252 characters. An output buffer holds capacity + 1 bytes; the library writes the length
 * byte and at most capacity characters (never more than 255), cutting longer results. A negative
 * capacity or a null buffer is left untouched. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VORWAHL_EXPORT __attribute__((visibility("default")))

VORWAHL_EXPORT void GetVorwahl(const unsigned char* number, unsigned char* formatted, int32_t formattedCapacity,
                               unsigned char* place, int32_t placeCapacity);

VORWAHL_EXPORT void GetVorwahlVersion(unsigned char* version, int32_t versionCapacity, unsigned char* date,
                                      int32_t dateCapacity);

typedef void (*GetVorwahlFunction)(const unsigned char*, unsigned char*, int32_t, unsigned char*, int32_t);
typedef void (*GetVorwahlVersionFunction)(unsigned char*, int32_t, unsigned char*, int32_t);

#ifdef __cplusplus
}
#endif
