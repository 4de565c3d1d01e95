// What never moves during a level (the background, the ship areas' outlines and the walls),
// composed once into one picture, and laid back over whatever moves across it.
#pragma once

#include <SDL.h>

#include <list>
#include <vector>

#include "Player.h"
#include "Wall.h"

// A window-sized picture of things drawn over transparent white, and which cells of it they
// touch, so that laying it back over a small place costs nothing where it is empty.
class Layer {
public:
    Layer() = default;
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // Runs `draw` with every draw going into the layer instead of the screen; false when there
    // was no memory for the layer.
    template <class Draw>
    bool compose(Draw draw);
    void clear();

    // Only the parts of `places` where the layer holds something.
    void drawOver(const std::vector<SDL_Rect>& places) const;

private:
    bool holdsCell(int column, int row) const;

    SDL_Surface* pixels = nullptr;
    std::vector<bool> cells;
};

class Scenery {
public:
    Scenery() = default;
    ~Scenery();
    Scenery(const Scenery&) = delete;
    Scenery& operator=(const Scenery&) = delete;

    // Composes again when anything it shows has changed since the last call. Walls are only
    // ever added to a level, so their count tells.
    void update(SDL_Surface* background, const std::list<bound>& areas, std::list<Wall>& walls);

    // The background with the outlines and then the walls over it.
    void drawBackdrop();
    // The same, only over `moved` and `drawnSince`, when the screen still shows what was laid
    // on it last time but there (the caller knows); the whole backdrop otherwise. True when the
    // screen changed only there: it held the backdrop, whether it was laid in pieces or whole.
    bool drawBackdropOver(const std::vector<SDL_Rect>& moved,
                          const std::vector<SDL_Rect>& drawnSince);
    // The outlines again over `places`: the ship is drawn under them.
    void drawOutlinesOver(const std::vector<SDL_Rect>& places);
    // The walls again over `places`: everything else is drawn under them.
    void drawWallsOver(const std::vector<SDL_Rect>& places);

private:
    bool unchanged(SDL_Surface* background, const std::list<bound>& areas,
                   const std::list<Wall>& walls) const;
    void compose();
    bool composable() const;
    bool drawsWholeScreen() const;
    void release();
    // Every outline and every wall, the plain way.
    void drawAllOutlines();
    void drawAllWalls();

    // What was composed, and for which screen, to tell when it changes.
    SDL_Surface* screen = nullptr;
    SDL_Surface* background = nullptr;
    std::vector<bound> areas;
    size_t wallCount = 0;
    SDL_Surface* outlinePictures[2] = {};
    bool upToDate = false;

    // The level's own lists, drawn the plain way when its pictures cannot be composed.
    const std::list<bound>* areaList = nullptr;
    std::list<Wall>* wallList = nullptr;

    bool composed = false;
    SDL_Surface* backdrop = nullptr;
    // The same pixels, for laying back small pieces of it.
    SDL_Surface* pieces = nullptr;
    // The screen the whole composed backdrop was last laid on, unclipped; null when none.
    SDL_Surface* laidOn = nullptr;
    Layer outlines;
    Layer walls;
};
