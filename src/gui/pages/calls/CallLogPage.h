#pragma once

#include "Page.h"

class CallList;
class CallListView;

// "Ankommende Gespräche" and "Abgehende Gespräche": a call log as a list that can be searched,
// sorted and exported; a double click renames the caller or the dialled party.
class CallLogPage : public Page
{
    Q_OBJECT

public:
    enum class Kind
    {
        Incoming,
        Outgoing
    };

    CallLogPage(AppCore& core, Kind kind, QWidget* parent = nullptr);

    void setTransferLock(bool locked) override;
    CallListView* view() const { return m_view; }
    void rename(int listRow);

private:
    CallList& list() const;

    Kind m_kind;
    CallListView* m_view;
};
