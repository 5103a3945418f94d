#include "PlaceholderPage.h"

PlaceholderPage::PlaceholderPage(AppCore& core, QWidget* parent) : Page(core, parent) {}
