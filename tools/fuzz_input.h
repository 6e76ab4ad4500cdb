#pragma once
// Hands the inputs to a fuzz target. Built with afl-clang-fast, AFL++'s
// persistent mode passes them in memory, many to one process, each after the
// set-up done before this is called. Built with a plain compiler (to replay a
// corpus for the coverage report), each file named on the command line is one
// input.
#include <SDL.h>

#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h> // read(), which AFL's macros call

#ifdef __AFL_FUZZ_TESTCASE_LEN
__AFL_FUZZ_INIT();
#endif

inline int runFuzzInputs(int argc, char** argv, void (*run)(const Uint8* bytes, int size))
{
#ifdef __AFL_FUZZ_TESTCASE_LEN
    (void)argc, (void)argv;
    __AFL_INIT();
    const Uint8* bytes = __AFL_FUZZ_TESTCASE_BUF;
    while (__AFL_LOOP(100000))
        run(bytes, __AFL_FUZZ_TESTCASE_LEN);
#else
    for (int i = 1; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        const std::string input{std::istreambuf_iterator<char>(file), {}};
        run(reinterpret_cast<const Uint8*>(input.data()), int(input.size()));
    }
#endif
    return 0;
}
