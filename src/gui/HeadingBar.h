#pragma once

#include <QLabel>

// The heading above the page: the name of the page that is shown.
class HeadingBar : public QLabel
{
    Q_OBJECT
public:
    explicit HeadingBar(QWidget* parent = nullptr);
};
