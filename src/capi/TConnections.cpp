#include "capi/TConnections.h"

#include <algorithm>

template <class Pred> TConnection* TConnections::findIf(Pred pred) const
{
    const auto it = std::find_if(m_connections.begin(), m_connections.end(),
                                 [&pred](const std::unique_ptr<TConnection>& c) { return pred(*c); });
    return it == m_connections.end() ? nullptr : it->get();
}

TConnection& TConnections::add()
{
    int largest = 0;
    for (const auto& c : m_connections)
        largest = std::max(largest, c->ID());
    m_connections.push_back(std::make_unique<TConnection>(largest + 1));
    return *m_connections.back();
}

void TConnections::remove(const TConnection* connection)
{
    std::erase_if(m_connections, [connection](const std::unique_ptr<TConnection>& c) { return c.get() == connection; });
}

TConnection* TConnections::findByPlci(quint32 plci) const
{
    return findIf([plci](const TConnection& c) { return c.PLCI() == plci; });
}

TConnection* TConnections::findByNcci(quint32 ncci) const
{
    return findIf([ncci](const TConnection& c) { return c.NCCI() == ncci; });
}

TConnection* TConnections::GetItem(int id) const
{
    return findIf([id](const TConnection& c) { return c.ID() == id; });
}
