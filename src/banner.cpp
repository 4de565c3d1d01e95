// The start-of-level banner: the level's number and name for two seconds, under what moves.
#include "banner.h"

#include "Level.h"
#include "graphics.h"
#include "lettering.h"

namespace {

bool meets(const SDL_Rect& place, const bound& area) {
    return place.x < area.right + BANNER_MARGIN && area.left - BANNER_MARGIN < place.x + place.w &&
           place.y < area.bottom + BANNER_MARGIN && area.top - BANNER_MARGIN < place.y + place.h;
}

// The banner of the level it was shown on.
const Level* bannerLevel = nullptr;
std::string shownText;
SDL_Rect shownPlace = {};

}  // namespace

std::string bannerText(int number, const std::string& name) {
    std::string text = "Level " + std::to_string(number);
    return name.empty() ? text : text + ": " + name;
}

SDL_Rect bannerPlace(int w, int h, const std::list<bound>& areas) {
    SDL_Rect place;
    place.x = Sint16((SCREEN_WIDTH - w) / 2);
    place.w = Uint16(w);
    place.h = Uint16(h);
    for (int y = BANNER_MARGIN; y + h <= SCREEN_HEIGHT; y += h) {
        place.y = Sint16(y);
        bool clear = true;
        for (const bound& area : areas)
            clear = clear && !meets(place, area);
        if (clear)
            return place;
    }
    place.y = BANNER_MARGIN;
    return place;
}

void showLevelBanner(Level& level, const std::string& text) {
    const Lettering* lettering = gameLettering();
    if (lettering == nullptr)
        return;
    // Names are free text of any length: the window's width is the most a banner shows.
    const int most = SCREEN_WIDTH / lettering->glyphWidth() - 2;
    shownText = text;
    if (int(shownText.size()) > most)
        shownText = shownText.substr(0, size_t(most - 3)) + "...";
    shownPlace = bannerPlace(lettering->width(shownText), lettering->lineHeight(),
                             level.getPlayer()->getBounds());
    bannerLevel = &level;
    level.setUnderlay([&level] { drawBanner(bannerLook(level)); });
}

BannerLook bannerLook(const Level& level) {
    BannerLook look;
    // A level made later at the same address has no underlay unless it was given a banner.
    if (&level != bannerLevel || !level.hasUnderlay() || level.framesStepped() > BANNER_FRAMES)
        return look;
    look.shown = true;
    look.text = shownText;
    look.x = shownPlace.x;
    look.y = shownPlace.y;
    return look;
}

void drawBanner(const BannerLook& look) {
    const Lettering* lettering = gameLettering();
    if (look.shown && lettering != nullptr)
        lettering->draw(look.x, look.y, look.text, Ink::Highlight);
}
