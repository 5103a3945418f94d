#pragma once

#include "Page.h"

// Stands in for a page whose content comes later: the frame shows its heading above an empty body.
class PlaceholderPage : public Page
{
    Q_OBJECT
public:
    explicit PlaceholderPage(AppCore& core, QWidget* parent = nullptr);
};
