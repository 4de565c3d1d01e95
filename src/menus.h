// Where the menus put their markers: the outline over the title's chosen item and the bar under
// the chosen ship. The game draws the markers here; the menu pictures are drawn around the
// same places, and the markers at these sizes.
#pragma once

struct MenuPlace {
    int x, y;
};

// The title's two items, New Game and Credits: the title picture frames each in a panel of the
// outline's size.
constexpr int TITLE_ITEM_COUNT = 2;
constexpr MenuPlace TITLE_ITEMS[TITLE_ITEM_COUNT] = {{345, 304}, {345, 473}};
constexpr int TITLE_OUTLINE_W = 334, TITLE_OUTLINE_H = 110;
// Where the outline is drawn over each item. Over Credits it has always sat one pixel to the
// right of the item's panel.
constexpr MenuPlace TITLE_OUTLINE_AT[TITLE_ITEM_COUNT] = {TITLE_ITEMS[0],
                                                          {TITLE_ITEMS[1].x + 1, TITLE_ITEMS[1].y}};

// With progress to continue from, the title offers it on a line of lettering above New Game;
// below the key line it says what went wrong with the last level asked for.
constexpr int TITLE_CONTINUE_Y = 268;
constexpr int TITLE_NOTICE_Y = 742;
// Where the level won and lost screens say which level it was and how many ships are left:
// between their line of explanation and their keys.
constexpr int STILL_SCREEN_TEXT_Y = 372;

// The ship select's bar under each of the three ships, and its size.
constexpr int SHIP_COUNT = 3;
constexpr MenuPlace SHIP_SELECT_BAR_AT[SHIP_COUNT] = {{30, 623}, {400, 623}, {767, 623}};
constexpr int SHIP_SELECT_BAR_W = 227, SHIP_SELECT_BAR_H = 14;
