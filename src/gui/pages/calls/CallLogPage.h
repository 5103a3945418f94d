#pragma once

#include "Page.h"

class CallList;
class CallListView;
class QPushButton;

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
    // "Sperren" on a row of the incoming calls: its caller goes on the block list with the note.
    bool block(int listRow, const QString& note);
    QPushButton* blockButton() const { return m_block; }

private:
    CallList& list() const;

    Kind m_kind;
    void askBlock();

    CallListView* m_view;
    QPushButton* m_block = nullptr;
};
