#pragma once
// The program's main routine: credits, the start delay, the display and the
// menu that starts the missions.

int runMenu(int argc, char** argv);
