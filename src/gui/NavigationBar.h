#pragma once

#include <QList>
#include <QWidget>

class QToolBox;
class QToolButton;

// The side bar: eight groups with captions, one open at a time, each with its entries (icon and
// caption). It only reports choices; the navigator decides what is shown.
class NavigationBar : public QWidget
{
    Q_OBJECT
public:
    explicit NavigationBar(QWidget* parent = nullptr);

    // Opens the group and marks the entry without reporting either.
    void setCurrent(int group, int entry);
    int openGroup() const;
    QToolButton* entryButton(int group, int entry) const;
    int groupCount() const;

Q_SIGNALS:
    void entryChosen(int group, int entry);
    void groupOpened(int group);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onGroupChanged(int group);

    QToolBox* m_toolBox;
    QList<QList<QToolButton*>> m_buttons;
    bool m_syncing = false;
};
