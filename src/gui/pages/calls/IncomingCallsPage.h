#pragma once

#include "Page.h"

class CallListView;

// "Ankommende Gespräche": the incoming call log as a list; a double click renames a caller.
class IncomingCallsPage : public Page
{
    Q_OBJECT

public:
    explicit IncomingCallsPage(AppCore& core, QWidget* parent = nullptr);

    void setTransferLock(bool locked) override;
    CallListView* view() const { return m_view; }
    void rename(int listRow);

private:
    CallListView* m_view;
};
