// rand() and srand() of the web build: the native game's numbers, not the web
// C library's, which the linker then leaves out.
#include "native_random.h"

namespace {

NativeRandom randomNumbers = seededRandom(1); // as before any srand()

} // namespace

extern "C" void srand(unsigned seed)
{
    randomNumbers = seededRandom(seed);
}

extern "C" int rand()
{
    return nextRandom(randomNumbers);
}
