// Recovery copies: an editing session's unsaved edits of a level, kept where a crash or a
// refused save cannot take them: under $XDG_STATE_HOME/skarlume/recovery/, or beside the
// level where that folder cannot be written. Each session has a copy of its own, so that a
// later session never writes over an earlier one's.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct RecoveryCopy {
    std::string path;
    std::filesystem::file_time_type time;
};

// A name for this editing session, unique on the machine and sorting by time:
// YYYYmmdd-HHMMSS-PID-N.
std::string newSessionName();

class Recovery {
public:
    // `levelPath` is the level's absolute path, as the designer named it.
    Recovery(const std::string& levelPath, const std::string& session);

    // Every recovery copy of this level but this session's own, newest first: those of other
    // sessions, in the recovery folder or beside the level (FILE.SESSION.unsaved), and the
    // FILE.unsaved that earlier editors wrote.
    std::vector<RecoveryCopy> others() const;

    // Writes this session's copy (the recovery folder first, then beside the level); false,
    // with the reasons in `error`, when neither place takes it.
    bool keep(const std::string& text, std::string& error);
    // Where this session's copy is; "" while there is none.
    const std::string& kept() const { return keptAt; }
    // Removes this session's copy: its edits are saved, or there are none any more.
    void discard();

    // Where this session's copy goes in each place.
    std::string inRecoveryFolder() const;
    std::string besideTheLevel() const;

private:
    std::string level;
    std::string session;
    std::string keptAt;
};
