#pragma once

#include "SessionFileSystem.h"

#include "SeSelectionSnapshot.h"

#include <string>
#include <vector>

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

    // Writes the snapshot's text form and the end line into path. Empty, or what is wrong:
    // "cannot write \"F\": ... (expected ...)", path then as it was. Text that load would refuse
    // (a line too long, too much of it) is not written. Raises std::bad_alloc when memory runs
    // out, also when the text form comes out cut (its stream swallows the failure): it is read
    // back before it is written.
    std::string save(const std::string &path, const Vo::SeSelectionSnapshot &snapshot);
    // The snapshot written in path, or false with problem set: "cannot open \"F\": ...", or
    // "F:LINE: what is wrong (expected what)" for a file not read to its end, cut short (no end
    // line), with text after its end line, or malformed; what it quotes escaped and cut. Raises
    // std::bad_alloc when memory runs out, also when the text form's reader quietly stopped
    // early (its stream swallows the failure).
    bool load(const std::string &path, Vo::SeSelectionSnapshot &snapshot, std::string &problem);

private:
    // Why load would refuse text; empty when it would not.
    static std::string unreadable(const std::string &text);
    // True when text, snapshot's text form, was made whole.
    static bool readsBack(const std::string &text, const Vo::SeSelectionSnapshot &snapshot);
    // True when read holds what all the lines say, not what a read cut short kept of them.
    static bool isWhole(const std::vector<std::string> &lines, const Vo::SeSelectionSnapshot &read);
    // The problem SeSelectionSnapshot::fromText raised ("line N: what (expected what)") located
    // in path.
    static std::string locate(const std::string &path, const std::string &message);

    SessionFileSystem &files;
};

} // namespace VoSession
