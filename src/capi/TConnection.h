#pragma once

#include <QtGlobal>

#include <vector>

// The B3 data blocks sent on a connection and not yet confirmed. This program sends none, so the
// queue stays empty; DATA_B3_CONF still removes the block it confirms.
class TB3DataQueue
{
public:
    struct Block
    {
        quint16 dataHandle = 0;
        std::vector<quint8> data;
    };

    int GetCount() const { return static_cast<int>(m_blocks.size()); }
    const Block& GetItem(int index) const { return m_blocks.at(static_cast<size_t>(index)); }
    void add(Block block) { m_blocks.push_back(std::move(block)); }
    void removeByHandle(quint16 dataHandle);
    void clear() { m_blocks.clear(); }

private:
    std::vector<Block> m_blocks;
};

// One CAPI logical connection.
class TConnection
{
public:
    enum class State : int
    {
        Cleared = 0,
        SetUpPending = 1,
        Connected = 2, // D channel
        B3SetUpPending = 3,
        B3Connected = 4,
        B3ClearingRequested = 5,
        B3Cleared = 6,
    };
    enum class Direction : int
    {
        Outgoing = 1,
        Incoming = 2,
    };
    enum class Initiator : int
    {
        None = 0,
        ThisSide = 1,
        Remote = 2,
    };

    explicit TConnection(int id) : m_id(id) {}

    int ID() const { return m_id; }
    quint32 PLCI() const { return m_plci; }
    // Also keeps the PLCI's low byte as the controller number.
    void SetPLCI(quint32 plci);
    int controller() const { return m_controller; }
    quint32 NCCI() const { return m_ncci; }
    void setNCCI(quint32 ncci) { m_ncci = ncci; }

    State state = State::Cleared;
    Direction direction = Direction::Incoming;
    Initiator disconnectInitiator = Initiator::None;
    TB3DataQueue b3DataQueue;
    quint16 connectIndNumber = 0; // the CONNECT_IND's message number, which its CONNECT_RESP carries

private:
    int m_id;
    quint32 m_plci = 0;
    int m_controller = 0;
    quint32 m_ncci = 0;
};
