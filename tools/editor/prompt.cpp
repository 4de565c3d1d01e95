// A one-line prompt on the editor's message line.
#include "prompt.h"

std::string refuseUnprintable(Uint16 unicode) {
    if (unicode >= ' ' && unicode <= '~')
        return "";
    return "only plain printable ASCII letters, digits, spaces and signs fit here";
}

void LinePrompt::start(const std::string& label, const std::string& text, Refusal refusal) {
    open = true;
    selected = !text.empty();
    this->label = label;
    typed = text;
    refused.clear();
    this->refusal = std::move(refusal);
}

LinePrompt::Outcome LinePrompt::key(const SDL_keysym& key) {
    refused.clear();
    switch (key.sym) {
        case SDLK_ESCAPE:
            open = false;
            return Outcome::Cancelled;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            open = false;
            return Outcome::Accepted;
        case SDLK_BACKSPACE:
            if (selected)
                typed.clear();
            else if (!typed.empty())
                typed.pop_back();
            selected = false;
            return Outcome::Editing;
        case SDLK_LEFT:
        case SDLK_RIGHT:
        case SDLK_HOME:
        case SDLK_END:
            selected = false;  // the text stays, to be added to at its end
            return Outcome::Editing;
        default:
            break;
    }
    // Ctrl and a letter types a control character: never text, and no reason to complain.
    if (key.unicode == 0 || (key.mod & KMOD_CTRL) != 0)
        return Outcome::Editing;
    std::string reason = refuseUnprintable(key.unicode);
    if (reason.empty() && refusal)
        reason = refusal(key.unicode);
    if (!reason.empty()) {
        refused = reason;
        return Outcome::Editing;
    }
    if (selected)
        typed.clear();
    selected = false;
    typed += char(key.unicode);
    return Outcome::Editing;
}

std::string LinePrompt::shown() const {
    const std::string field = selected ? "[" + typed + "]" : typed + "_";
    return label + ": " + field + "   (Return takes it, Escape leaves it" +
           (selected ? "; typing replaces it)" : ")");
}
