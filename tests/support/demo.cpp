#include "demo.h"

#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace {

struct Demo {
    std::string mission;
    int startMs = 0;
    std::vector<std::tuple<int, bool, SDLKey>> keyChanges; // from the start, pressed
};

std::string rects(const SDL_Rect* rect, int count)
{
    std::string list;
    for (int n = 0; n < count; ++n)
        list += (n ? " " : "") + where(rect[n]);
    return list;
}

template <class Mission>
std::string play(const Demo& demo)
{
    HeadlessMission<Mission> run(demo.startMs);
    for (auto [atMs, press, key] : demo.keyChanges)
        (press ? fake::pressAt : fake::releaseAt)(demo.startMs + atMs, key);
    std::ostringstream log;
    const MissionCore& core = run.core();
    for (int frames = 1; !core.missionOver; ++frames) {
        run.runFrame();
        if (frames % 60 != 0 && !core.missionOver)
            continue;
        log << "frame " << frames << " t=" << core.missionTime << " heli=" << where(core.heli)
            << " projectile=" << where(core.projectile)
            << " fighters=" << rects(run.fighters(), squadronSize)
            << " shots=" << rects(run.shots(), squadronSize);
        const Mission& m = run.mission;
        if constexpr (std::is_same_v<Mission, shootdown::Mission>)
            log << " hits=" << m.hitCount << " countdown=" << m.countdown.countdown
                << " bomber=" << where(m.bomber) << " egg=" << where(m.egg);
        else
            log << " rescued=" << m.rescuedCount << " bombers=" << rects(m.bomber, rescue::herdSize)
                << " animals=" << rects(m.animal, rescue::herdSize)
                << " parachutes=" << rects(m.openParachute, rescue::herdSize);
        log << " over=" << core.missionOver << " won=" << core.missionWon << '\n';
    }
    run.showEndScreen();
    log << "sleeps";
    for (int ms : fake::sleeps())
        log << ' ' << ms;
    return log.str() + '\n';
}

} // namespace

std::string playDemo(const std::string& script)
{
    static const std::map<std::string, SDLKey> keys = {
        {"up", SDLK_UP},       {"down", SDLK_DOWN},   {"left", SDLK_LEFT},
        {"right", SDLK_RIGHT}, {"space", SDLK_SPACE}, {"escape", SDLK_ESCAPE}};
    auto isTime = [](const std::string& s) { return s.find_first_not_of("0123456789") == s.npos; };
    Demo demo;
    std::istringstream lines(script);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line.substr(0, line.find('#')));
        const std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        if (w.size() == 2 && w[0] == "mission" && (w[1] == "shootdown" || w[1] == "rescue"))
            demo.mission = w[1];
        else if (w.size() == 2 && w[0] == "start" && isTime(w[1]))
            demo.startMs = std::stoi(w[1]);
        else if (w.size() == 3 && isTime(w[0]) && (w[1] == "press" || w[1] == "release") &&
                 keys.count(w[2]))
            demo.keyChanges.emplace_back(std::stoi(w[0]), w[1] == "press", keys.at(w[2]));
        else if (!w.empty())
            throw std::runtime_error("line " + std::to_string(number) + ": " + line);
    }
    if (demo.mission.empty())
        throw std::runtime_error("no mission");
    return demo.mission == "rescue" ? play<rescue::Mission>(demo) : play<shootdown::Mission>(demo);
}
