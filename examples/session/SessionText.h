#pragma once

#include <string>
#include <vector>

namespace VoSession {

// Text rules shared by the scene reader, the script reader and the printers.
class SessionText {
public:
    SessionText() = delete;

    // The words of a line, split at blanks; a '#' starts a comment that runs to the line's end.
    static std::vector<std::string> splitWords(const std::string &line);
    // True for a line that holds only a comment.
    static bool isComment(const std::string &line);
    // The line without the blanks around it.
    static std::string trim(const std::string &line);
    // A decimal int with an optional minus sign and nothing else; false, leaving value, otherwise.
    static bool parseInteger(const std::string &word, int &value);
    // The word in double quotes; quotes, backslashes and control characters escaped (\" \\ \xNN),
    // so that a message stays on one line whatever the input held.
    static std::string quote(const std::string &word);
    static std::string join(const std::vector<std::string> &items, const std::string &separator);
};

} // namespace VoSession
