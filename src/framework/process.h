#pragma once
// What the game settles with its own process before anything else runs:
// standard streams that exist, output that may fail without ending the game,
// and a closed terminal taken as a quit request.

void prepareProcess();

// True once for each hangup signal (SIGHUP) since the last call; the platform
// reports it like SDL's own quit requests (SIGINT, SIGTERM, a closed window).
bool takeHangup();
