#pragma once

#include "capi/TConnection.h"

#include <memory>
#include <vector>

// Owns the logical connections of one CAPI application.
class TConnections
{
public:
    // A new connection with the ID 1 + the largest ID in the list.
    TConnection& add();
    void remove(const TConnection* connection);
    TConnection* findByPlci(quint32 plci) const;
    TConnection* findByNcci(quint32 ncci) const;
    // Finds by ID, not by position.
    TConnection* GetItem(int id) const;
    int GetCount() const { return static_cast<int>(m_connections.size()); }

private:
    template <class Pred> TConnection* findIf(Pred pred) const;

    std::vector<std::unique_ptr<TConnection>> m_connections;
};
