#pragma once

class PageRegistry;

// The shell's own pages: program parameters, configuration password, information.
void registerShellPages(PageRegistry& registry);
