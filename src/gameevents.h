// What happened in one frame of play, in the game's own terms: the level counts it as its rules
// run, and the play screen hands it on after the frame (to the sounds).
#pragma once

#include <array>

enum GameEvent {
    EVENT_PLAYER_FIRED,
    EVENT_ENEMY_FIRED,
    EVENT_SHOT_TURNED,     // by a diagonal wall, a quarter turn
    EVENT_SHOT_SENT_BACK,  // by a straight wall hit head-on, with life left
    EVENT_SHOT_FADED,      // sent back with no life left: it fades at the wall
    EVENT_CRATE_DESTROYED,
    EVENT_ENEMY_DESTROYED,
    EVENT_PLAYER_DESTROYED,
    GAME_EVENT_COUNT
};

class FrameEvents {
public:
    void add(GameEvent event) { ++counts[event]; }
    int count(GameEvent event) const { return counts[event]; }
    void clear() { counts.fill(0); }

private:
    std::array<int, GAME_EVENT_COUNT> counts{};
};
