#pragma once
// Hands the inputs to a fuzz target, with the game's display set up once per
// process on SDL's dummy driver. Built with afl-clang-fast, AFL++'s persistent
// mode passes them in memory, many to one process. Built with a plain
// compiler (to replay a corpus for the coverage report), each file named on
// the command line is one input.
#include "framework/display.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h> // read(), which AFL's macros call

#ifdef __AFL_FUZZ_TESTCASE_LEN
__AFL_FUZZ_INIT();
#endif

// run: true when the input loaded.
inline int runFuzzInputs(int argc, char** argv,
                         bool (*run)(const Uint8* bytes, int size, SDL_Surface* display))
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    startVideo();
    SDL_Surface* display = setGameDisplayMode();
#ifdef __AFL_FUZZ_TESTCASE_LEN
    (void)argc, (void)argv;
    __AFL_INIT();
    const Uint8* bytes = __AFL_FUZZ_TESTCASE_BUF;
    while (__AFL_LOOP(100000))
        run(bytes, __AFL_FUZZ_TESTCASE_LEN, display);
    return 0;
#else
    int refusedSilently = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        const std::string input{std::istreambuf_iterator<char>(file), {}};
        SDL_ClearError();
        if (!run(reinterpret_cast<const Uint8*>(input.data()), int(input.size()), display) && !*SDL_GetError()) {
            std::fprintf(stderr, "%s: refused without saying why\n", argv[i]);
            ++refusedSilently;
        }
    }
    return refusedSilently ? 1 : 0;
#endif
}
