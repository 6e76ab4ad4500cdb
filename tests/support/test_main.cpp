#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Headless: SDL draws into memory instead of onto a screen.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
