#pragma once
// The game's only error path: a message on standard output followed by SDL's
// own error text, then exit status 1.

[[noreturn]] void fatalError(const char* message);
