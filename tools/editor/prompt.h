// A one-line prompt on the editor's message line (the level's name, a file's path, a
// position). It starts with its text selected, so that typing replaces it; a character the
// field cannot hold is kept out, with the reason shown.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

class LinePrompt {
public:
    enum class Outcome { Editing, Accepted, Cancelled };
    // Why a typed character (its Unicode value) cannot go in; "" when it can.
    using Refusal = std::function<std::string(Uint16)>;

    void start(const std::string& label, const std::string& text, Refusal refusal);
    Outcome key(const SDL_keysym& key);

    bool active() const { return open; }
    const std::string& text() const { return typed; }
    // The prompt as the message line shows it, the selected text in brackets.
    std::string shown() const;
    // The reason the last character was refused; "" when it was not.
    const std::string& complaint() const { return refused; }

private:
    bool open = false;
    bool selected = false;
    std::string label;
    std::string typed;
    std::string refused;
    Refusal refusal;
};

// Refuses what plain printable ASCII, the only text a level line holds, does not have.
std::string refuseUnprintable(Uint16 unicode);
