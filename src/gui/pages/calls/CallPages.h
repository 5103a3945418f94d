#pragma once

class PageRegistry;

// "Diagnosemodus" and the call lists.
void registerCallPages(PageRegistry& registry);
