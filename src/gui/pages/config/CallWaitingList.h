#pragma once

#include <QListWidget>

// The extension page's call-waiting list. Each entry's first character is its state ("1" or "0") and
// is drawn as a check box before the rest of the text. A click on an entry asks for it to be toggled;
// the owner applies the rule and refills the list.
class CallWaitingList : public QListWidget
{
    Q_OBJECT
public:
    explicit CallWaitingList(QWidget* parent = nullptr);

    void setEntries(const QStringList& entries);
    QStringList entries() const;

Q_SIGNALS:
    void entryToggled(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onClicked(QListWidgetItem* item);
};
