#pragma once

#include "shell/StartUp.h"

class StatusLine;

// Start-up without a window: there are no pages to build or show, and every message that the
// status line would show goes to standard error (the journal under systemd) with its level.
class HeadlessView : public StartUpView
{
public:
    explicit HeadlessView(StatusLine& status);

    void showFirstPageOnly() override {}
    void buildPages() override {}
    void selectPort(int) override {}
    void moveWindow(int, int) override {}
    void applyFontFace() override {}
    void showStartPage(int) override {}
    void showWindow() override {}
    void startInTray() override {}
};
