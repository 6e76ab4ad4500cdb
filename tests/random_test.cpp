// The web build's rand() draws what the native game's draws, for any seed the
// tick count can give, the C library's corner cases included: 739806647 makes
// the next seed word 2^31 - 2, which the overflow-free product reaches as -1.
#include "framework/native_random.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

TEST(NativeRandom, DrawsWhatTheNativeRandDraws)
{
    for (unsigned seed : {0u, 1u, 2u, 7016u, 127773u, unsigned(INT_MAX), 0x80000000u, UINT_MAX, 739806647u}) {
        std::srand(seed);
        NativeRandom random = seededRandom(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(nextRandom(random), std::rand()) << "seed " << seed << ", number " << i;
    }
}
