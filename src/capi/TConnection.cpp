#include "capi/TConnection.h"

#include <algorithm>

void TB3DataQueue::removeByHandle(quint16 dataHandle)
{
    const auto it = std::find_if(m_blocks.begin(), m_blocks.end(),
                                 [dataHandle](const Block& b) { return b.dataHandle == dataHandle; });
    if (it != m_blocks.end())
        m_blocks.erase(it);
}

void TConnection::SetPLCI(quint32 plci)
{
    m_plci = plci;
    m_controller = static_cast<int>(plci & 0xFF);
}
