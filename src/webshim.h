// The web build's differences from the native game, kept in one place: what the browser's SDL 1.2
// lacks or does otherwise, the pacer's turn for the browser, and the level file the page hands in.
#pragma once

#ifdef __EMSCRIPTEN__

#include <SDL.h>

#include <chrono>

class Level;

// The browser's SDL has no CD-ROM subsystem.
#ifndef SDL_INIT_CDROM
#define SDL_INIT_CDROM 0
#endif

// Without threads a sleep would hold the page still: the browser draws the canvas and delivers
// keys only while the game waits here. Returns at once, after one turn, when the deadline is past.
void webSleepUntil(std::chrono::steady_clock::time_point deadline);

// Makes the game's sound files before the first is loaded; only the game has it (the replay
// tool never plays sound).
void webMakeSounds() __attribute__((weak));

// The level file the page asked to play (a dropped file or a shared link), or null for the
// campaign. Given null, the game goes back to the campaign.
void webSetOwnLevel(const char* path);
const char* webOwnLevel();
// The own level read afresh, with the loader's messages on the standard error stream (which
// the page shows); null, with a message, when the file cannot be opened.
Level* webLoadOwnLevel(SDL_Surface* background, int ship);

#endif
