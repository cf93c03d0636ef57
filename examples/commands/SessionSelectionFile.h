#pragma once

#include "SessionFileSystem.h"

#include "SeSelectionSnapshot.h"

#include <string>

namespace VoSession {

// The session's selection files: SeSelectionSnapshot's text form, then an end line, so that a file
// cut short (a full disk, a copy that stopped) is refused instead of restoring part of a
// selection. The end line is a comment of that text form, which its reader skips. Saved as
// SessionFileWriter saves (the old file stays whole on a failure) and read as SessionFileReader
// reads (a regular file, bounded). Borrows the file system.
class SessionSelectionFile {
public:
    // The last line of every file save writes.
    static constexpr const char *endLine = "# end of voshape-selection";

    explicit SessionSelectionFile(SessionFileSystem &files) noexcept : files(files) {}

    // Writes text (SeSelectionSnapshot::toText) and the end line into path. Empty, or what is
    // wrong: "cannot write \"F\": ... (expected ...)", path then as it was. Text that load would
    // refuse (a line too long, too much of it) is not written.
    std::string save(const std::string &path, const std::string &text);
    // The snapshot written in path, or false with problem set: "cannot open \"F\": ...", or
    // "F:LINE: what is wrong (expected what)" for a file not read to its end, cut short (no end
    // line), with text after its end line, or malformed; what it quotes escaped and cut.
    bool load(const std::string &path, Vo::SeSelectionSnapshot &snapshot, std::string &problem);

private:
    // Why load would refuse text; empty when it would not.
    static std::string unreadable(const std::string &text);
    // The problem SeSelectionSnapshot::fromText raised ("line N: what (expected what)") located
    // in path.
    static std::string locate(const std::string &path, const std::string &message);

    SessionFileSystem &files;
};

} // namespace VoSession
