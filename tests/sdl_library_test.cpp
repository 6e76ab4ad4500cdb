// The game runs on the SDL 1.2 it was built for: a build against sdl12-compat
// that loads the classic library at run time, or the other way round, fails
// here instead of passing on the wrong library.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string versionText(const SDL_version& v)
{
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.patch);
}

TEST(SdlLibrary, RunsTheVersionItWasBuiltFor)
{
    SDL_version compiled;
    SDL_VERSION(&compiled);
    EXPECT_EQ(versionText(compiled), HELI_SDL_VERSION);
    EXPECT_EQ(versionText(*SDL_Linked_Version()), HELI_SDL_VERSION);
}

} // namespace
