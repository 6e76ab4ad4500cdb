#include "native_random.h"

NativeRandom seededRandom(unsigned seed)
{
    NativeRandom random{};
    int32_t word = seed == 0 ? 1 : int32_t(seed);
    random.state[0] = word;
    // word = 16807 * word % (2^31 - 1), without overflowing 32 bits
    for (int i = 1; i < 31; ++i) {
        const int32_t hi = word / 127773, lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0)
            word += 2147483647;
        random.state[i] = word;
    }
    for (int i = 0; i < 310; ++i) // the first numbers are too close to the seed's
        nextRandom(random);
    return random;
}

int nextRandom(NativeRandom& random)
{
    const uint32_t sum = uint32_t(random.state[random.front]) + uint32_t(random.state[random.rear]);
    random.state[random.front] = int32_t(sum);
    random.front = (random.front + 1) % 31;
    random.rear = (random.rear + 1) % 31;
    return int(sum >> 1);
}
