#pragma once

class PageRegistry;

// Registers the configuration pages: "Grundkonfiguration", "Zuordnung", "Berechtigungen",
// "Anklopfen", the parameter container ("Grundparameter", "Nebenstellen") and "Kurzwahlen", and the
// file buttons "In Datei schreiben..." and "Aus Datei lesen...".
void registerConfigPages(PageRegistry& registry);
