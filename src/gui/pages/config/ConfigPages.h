#pragma once

class PageRegistry;

// Registers the configuration pages: "Grundkonfiguration", "Zuordnung", "Berechtigungen",
// "Anklopfen", the parameter container ("Grundparameter", "Nebenstellen") and "Kurzwahlen".
void registerConfigPages(PageRegistry& registry);
