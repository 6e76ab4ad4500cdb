#pragma once
// Every text the game draws: the menu's lines, the missions' texts, and the
// characters of its counters.
constexpr const char* gameTexts[] = {"1-Neues Spiel", "2-Beenden", "Zeit:", "Abgeschossene Gegner:", "Verloren",
                                     "Gewonnen", "Zerstoere innerhalb der Zeit 30 Gegner", "Passwort: m k r",
                                     "Gerettete:", "Rette alle 30 Stegosaurus", "-0123456789"};
