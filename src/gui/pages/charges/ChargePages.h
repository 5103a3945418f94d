#pragma once

class PageRegistry;

// The pages of the charges: overview, distribution and histogram.
void registerChargePages(PageRegistry& registry);
