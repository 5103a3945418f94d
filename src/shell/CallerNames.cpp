#include "shell/CallerNames.h"

#include "shell/Settings.h"
#include "shell/StatusLine.h"

CallerNames::CallerNames(Settings& settings, StatusLine& status) : m_settings(settings), m_status(status) {}

void CallerNames::load()
{
    m_report = m_book.load(m_settings.addressBookFile());
    repeatFailure();
}

void CallerNames::setFile(const QString& path)
{
    m_settings.setAddressBookFile(path);
    m_report = m_book.load(path);
    if (path.isEmpty())
        m_status.showStatus(Msg::Clear);
    else
        m_status.showText(failed() ? StatusLevel::Error : StatusLevel::Normal, AddressBook::reportText(m_report));
}

void CallerNames::repeatFailure() const
{
    if (failed())
        m_status.showText(StatusLevel::Error, AddressBook::reportText(m_report));
}
