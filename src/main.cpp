// The program's entry, as SDL's main shim would call it.
#include "skarlume.h"

int main(int argc, char* argv[]) {
    return SDL_main(argc, argv);
}
