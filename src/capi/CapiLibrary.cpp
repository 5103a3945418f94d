#include "capi/CapiLibrary.h"

#include <QFile>
#include <QtGlobal>

#include <array>
#include <cstring>
#include <dlfcn.h>

namespace {

constexpr unsigned Controller = 1;
// The Linux library fills 64 bytes with the manufacturer and four 32-bit numbers with the version.
constexpr size_t ManufacturerLength = 64;

template <class F> bool resolve(void* handle, const char* name, F& entry)
{
    entry = reinterpret_cast<F>(dlsym(handle, name));
    return entry != nullptr;
}

bool resolveRest(CapiEntries& e)
{
    void* h = e.handle;
    return resolve(h, "capi20_get_manufacturer", e.getManufacturer) &&
           resolve(h, "capi20_get_serial_number", e.getSerialNumber) &&
           resolve(h, "capi20_get_version", e.getVersion) && resolve(h, "capi20_get_profile", e.getProfile) &&
           resolve(h, "capi20_register", e.registerApplication) && resolve(h, "capi20_release", e.release) &&
           resolve(h, "capi20_put_message", e.putMessage) && resolve(h, "capi20_get_message", e.getMessage) &&
           resolve(h, "capi20_waitformessage", e.waitForMessage);
}

} // namespace

CapiEntries::~CapiEntries()
{
    if (handle)
        dlclose(handle);
}

QString CapiLibrary::defaultFileName()
{
    const QString named = qEnvironmentVariable("WINKAVEX_CAPI_LIBRARY");
    return named.isEmpty() ? QString::fromLatin1(SystemFileName) : named;
}

CapiLibrary::CapiLibrary(QString fileName) : m_fileName(std::move(fileName)) {}

CapiLibrary::~CapiLibrary() = default;

int CapiLibrary::load()
{
    if (m_state != NotLoaded)
        return m_state;
    auto entries = std::make_shared<CapiEntries>();
    entries->handle = dlopen(QFile::encodeName(m_fileName).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!entries->handle || !resolve(entries->handle, "capi20_isinstalled", entries->isInstalled)) {
        m_state = NotFound;
        return m_state;
    }
    if (entries->isInstalled() != 0) {
        // Held until the end, as a loaded library that reports no CAPI.
        m_entries = std::move(entries);
        m_state = NotInstalled;
        return m_state;
    }
    if (!resolveRest(*entries)) {
        m_state = NotFound;
        return m_state;
    }
    m_entries = std::move(entries);
    m_state = Installed;
    return m_state;
}

std::shared_ptr<const CapiEntries> CapiLibrary::entries() const
{
    return m_state == Installed ? m_entries : nullptr;
}

std::optional<QString> CapiLibrary::manufacturer() const
{
    if (m_state != Installed)
        return std::nullopt;
    std::array<unsigned char, ManufacturerLength + 1> buffer{};
    if (!m_entries->getManufacturer(Controller, buffer.data()))
        return std::nullopt;
    return QString::fromLatin1(
        reinterpret_cast<const char*>(buffer.data()),
        static_cast<qsizetype>(strnlen(reinterpret_cast<const char*>(buffer.data()), ManufacturerLength)));
}

std::optional<CapiLibrary::Version> CapiLibrary::version() const
{
    if (m_state != Installed)
        return std::nullopt;
    std::array<quint32, 4> numbers{};
    if (!m_entries->getVersion(Controller, reinterpret_cast<unsigned char*>(numbers.data())))
        return std::nullopt;
    return Version{numbers[0], numbers[1], numbers[2], numbers[3]};
}
