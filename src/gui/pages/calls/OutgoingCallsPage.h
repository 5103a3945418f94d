#pragma once

#include "Page.h"

class CallListView;

// "Abgehende Gespräche": the outgoing call log as a list; a double click renames a call.
class OutgoingCallsPage : public Page
{
    Q_OBJECT

public:
    explicit OutgoingCallsPage(AppCore& core, QWidget* parent = nullptr);

    void setTransferLock(bool locked) override;
    CallListView* view() const { return m_view; }
    void rename(int listRow);

private:
    CallListView* m_view;
};
