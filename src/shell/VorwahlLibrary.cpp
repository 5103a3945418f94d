#include "VorwahlLibrary.h"

#include "common/Cp1252.h"
#include "common/InstallLayout.h"
#include "vorwahl/Vorwahl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <algorithm>
#include <array>

namespace {

constexpr int shortStringCapacity = 255;
constexpr int versionCapacity = 10;
constexpr int dateCapacity = 20;

using ShortStringBuffer = std::array<unsigned char, shortStringCapacity + 1>;

ShortStringBuffer toShortString(const QString& text)
{
    const QByteArray bytes = Cp1252::fromUnicode(text).left(shortStringCapacity);
    ShortStringBuffer buffer{};
    buffer[0] = static_cast<unsigned char>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.begin() + 1);
    return buffer;
}

// Reads no further than the capacity the library was given, whatever its length byte claims.
QString fromShortString(const ShortStringBuffer& buffer, int capacity)
{
    const int length = std::min<int>(buffer[0], capacity);
    return Cp1252::toUnicode(QByteArrayView(reinterpret_cast<const char*>(buffer.data() + 1), length));
}

} // namespace

struct VorwahlLibrary::Entries
{
    GetVorwahlFunction getVorwahl = nullptr;
    GetVorwahlVersionFunction getVorwahlVersion = nullptr;
};

VorwahlLibrary::VorwahlLibrary() : m_entries(std::make_unique<Entries>()) {}

VorwahlLibrary::~VorwahlLibrary()
{
    unload();
}

bool VorwahlLibrary::load()
{
    const QString besideProgram =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libvorwahl.so"));
    if (QFile::exists(besideProgram) && load(besideProgram))
        return true;
    const QString installed = InstallLayout::libraryPath(QStringLiteral("winkavex/libvorwahl.so.1"));
    if (QFile::exists(installed) && load(installed))
        return true;
    // An installed library is found by its soname; a development link by the bare name.
    return load(QStringLiteral("libvorwahl.so.1")) || load(QStringLiteral("libvorwahl.so"));
}

bool VorwahlLibrary::load(const QString& fileName)
{
    unload();
    auto library = std::make_unique<QLibrary>(fileName);
    if (!library->load())
        return false;
    m_entries->getVorwahl = reinterpret_cast<GetVorwahlFunction>(library->resolve("GetVorwahl"));
    m_entries->getVorwahlVersion = reinterpret_cast<GetVorwahlVersionFunction>(library->resolve("GetVorwahlVersion"));
    m_library = std::move(library);
    return true;
}

void VorwahlLibrary::unload()
{
    *m_entries = {};
    if (m_library) {
        m_library->unload();
        m_library.reset();
    }
}

bool VorwahlLibrary::isLoaded() const
{
    return m_library != nullptr;
}

QString VorwahlLibrary::fileName() const
{
    return m_library ? m_library->fileName() : QString();
}

std::optional<VorwahlLibrary::Lookup> VorwahlLibrary::lookup(const QString& number) const
{
    if (!m_entries->getVorwahl)
        return std::nullopt;
    const ShortStringBuffer input = toShortString(number);
    ShortStringBuffer formatted{};
    ShortStringBuffer place{};
    m_entries->getVorwahl(input.data(), formatted.data(), shortStringCapacity, place.data(), shortStringCapacity);
    return Lookup{fromShortString(formatted, shortStringCapacity), fromShortString(place, shortStringCapacity)};
}

std::optional<VorwahlLibrary::Version> VorwahlLibrary::version() const
{
    if (!m_entries->getVorwahlVersion)
        return std::nullopt;
    ShortStringBuffer versionText{};
    ShortStringBuffer dateText{};
    m_entries->getVorwahlVersion(versionText.data(), versionCapacity, dateText.data(), dateCapacity);
    return Version{fromShortString(versionText, versionCapacity), fromShortString(dateText, dateCapacity)};
}

QString VorwahlLibrary::versionLine() const
{
    const auto v = version();
    if (!v)
        return {};
    return QStringLiteral("Vorwahl-Umsetzung Version %1 vom %2").arg(v->version, v->date);
}
