#include "ConfigReport.h"
#include "FuzzSupport.h"
#include "config/ConfigFile.h"
#include "image/Firmware.h"

// Any file as a configuration file, the way "kavexctl decode" takes one: read from the file;
// a firmware the program supports is decoded into the summary and the JSON.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<ConfigImage> image =
        ConfigFile::read(FuzzSupport::writeFile(QStringLiteral("fuzz.KVX"), data, size));
    FuzzSupport::check(image.has_value() == (size >= ConfigImage::Size));
    if (!image || !Firmware::supported(Firmware::version(*image)))
        return 0;
    (void)ConfigReport::text(*image, {QStringLiteral("Büro")});
    (void)ConfigReport::json(*image);
    return 0;
}
