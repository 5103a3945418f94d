#pragma once

#include "Page.h"

class QLabel;
class LampAnimation;

// "Info": the program's version line, the Vorwahl library's version line and a small animation.
class InfoPage : public Page
{
    Q_OBJECT
public:
    explicit InfoPage(AppCore& core, QWidget* parent = nullptr);

    static QString versionLine();
    void refresh() override;

    QLabel* libraryLine() const { return m_libraryLine; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* m_libraryLine;
    LampAnimation* m_animation;
};
