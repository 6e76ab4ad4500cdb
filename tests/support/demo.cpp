#include "demo.h"

#include <cstdlib>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>

namespace {

const std::map<std::string, SDLKey> demoKeys = {
    {"up", SDLK_UP},       {"down", SDLK_DOWN},   {"left", SDLK_LEFT},
    {"right", SDLK_RIGHT}, {"space", SDLK_SPACE}, {"escape", SDLK_ESCAPE},
};

// Reads the words of one line into the demo; false when they make no sense.
bool readWords(Demo& demo, const std::vector<std::string>& w)
{
    if (w.size() == 2 && w[0] == "mission")
        demo.mission = w[1];
    else if (w.size() == 2 && (w[0] == "start" || w[0] == "frame"))
        (w[0] == "start" ? demo.startMs : demo.frameMs) = std::stoi(w[1]);
    else if (w.size() == 2 && w[1] == "quit")
        demo.events.push_back({std::stoi(w[0]), w[1], SDLK_UNKNOWN});
    else if (w.size() == 3 && (w[1] == "press" || w[1] == "release") && demoKeys.count(w[2]))
        demo.events.push_back({std::stoi(w[0]), w[1], demoKeys.at(w[2])});
    else
        return w.empty();
    return true;
}

// 600 is more than 45 from the helicopter's start height, 300, and a band
// from 600 to 690 leaves out the parked projectile's 768.
void quietSquadron(Squadron& squadron)
{
    for (int n = 0; n < squadronSize; ++n) {
        squadron.fighter[n] = rectAt(1000, 600);
        squadron.shot[n] = rectAt(parkedX, parkedY);
    }
}

void put(std::ostream& out, const char* label, const SDL_Rect* rects, int count)
{
    out << ' ' << label << '=';
    for (int n = 0; n < count; ++n)
        out << (n ? " " : "") << where(rects[n]);
}

void putShared(std::ostream& out, const MissionCore& core, const Squadron& squadron)
{
    out << "t=" << core.missionTime;
    put(out, "heli", &core.heli, 1);
    put(out, "projectile", &core.projectile, 1);
    put(out, "fighters", squadron.fighter, squadronSize);
    put(out, "shots", squadron.shot, squadronSize);
}

void putState(std::ostream& out, const shootdown::Mission& mission)
{
    putShared(out, mission.core, mission.squadron);
    out << " hits=" << mission.hitCount << " countdown=" << mission.countdown.countdown;
    put(out, "bomber", &mission.bomber, 1);
    put(out, "egg", &mission.egg, 1);
}

void putState(std::ostream& out, const rescue::Mission& mission)
{
    putShared(out, mission.core, mission.squadron);
    out << " rescued=" << mission.rescuedCount;
    put(out, "bombers", mission.bomber, rescue::herdSize);
    put(out, "animals", mission.animal, rescue::herdSize);
    put(out, "parachutes", mission.openParachute, rescue::herdSize);
}

template <class Mission>
std::string play(const Demo& demo)
{
    HeadlessMission<Mission> run(demo.startMs);
    fake::setFrameLength(demo.frameMs);
    for (const DemoEvent& event : demo.events) {
        int at = demo.startMs + event.atMs;
        if (event.action == "quit")
            fake::quitAt(at);
        else if (event.action == "press")
            fake::pressAt(at, event.key);
        else
            fake::releaseAt(at, event.key);
    }
    std::ostringstream log;
    for (int frames = 1; !run.core().missionOver; ++frames) {
        run.runFrame();
        if (frames % 60 != 0 && !run.core().missionOver)
            continue;
        log << "frame " << frames << ' ';
        putState(log, run.mission);
        log << " over=" << run.core().missionOver << " won=" << run.core().missionWon << '\n';
    }
    run.showEndScreen();
    log << "sleeps";
    for (int ms : fake::sleeps())
        log << ' ' << ms;
    log << '\n';
    return log.str();
}

} // namespace

void keepEnemiesAway(shootdown::Mission& mission)
{
    quietSquadron(mission.squadron);
    mission.bomber = rectAt(1000, 600);
}

void keepEnemiesAway(rescue::Mission& mission)
{
    quietSquadron(mission.squadron);
}

std::string where(const SDL_Rect& rect)
{
    return where(rect.x, rect.y);
}

std::string where(int x, int y)
{
    return std::to_string(x) + ',' + std::to_string(y);
}

SDL_Rect rectAt(int x, int y)
{
    return {Sint16(x), Sint16(y), 0, 0};
}

std::vector<int> randSequence(unsigned seed, int count)
{
    std::srand(seed);
    std::vector<int> draws;
    for (int n = 0; n < count; ++n)
        draws.push_back(std::rand());
    return draws;
}

Demo readDemo(std::istream& script)
{
    Demo demo;
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        std::istringstream words(line.substr(0, line.find('#')));
        bool read = false;
        try {
            read = readWords(demo, {std::istream_iterator<std::string>(words), {}});
        } catch (const std::logic_error&) { // a time that is not a number
        }
        if (!read)
            throw std::runtime_error("line " + std::to_string(number) + ": " + line);
    }
    return demo;
}

std::string playDemo(const Demo& demo)
{
    if (demo.mission == "shootdown")
        return play<shootdown::Mission>(demo);
    if (demo.mission == "rescue")
        return play<rescue::Mission>(demo);
    throw std::runtime_error("no such mission: " + demo.mission);
}
