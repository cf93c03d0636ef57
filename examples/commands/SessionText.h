#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace VoSession {

// Text rules shared by the scene reader, the script reader and the printers.
class SessionText {
public:
    // What parseInteger found.
    enum class Number { Valid, Malformed, OutOfRange };

    SessionText() = delete;

    // The words of a line, split at blanks; a '#' starts a comment that runs to the line's end.
    static std::vector<std::string> splitWords(const std::string &line);
    // True for a line that holds only a comment.
    static bool isComment(const std::string &line);
    // The line without the blanks around it.
    static std::string trim(const std::string &line);
    // A decimal integer with an optional minus sign and nothing else ("-0" is 0; leading zeros are
    // allowed). OutOfRange when it is one but does not fit a long long; value is set only if Valid.
    static Number parseInteger(const std::string &word, long long &value);
    // The text with backslashes and everything that is not printable UTF-8 escaped: "\\" for a
    // backslash, "\xNN" for each byte of a control character (C0, DEL, C1) or of invalid UTF-8.
    // What comes out is one line of printable text whatever the input held.
    static std::string escape(const std::string &text);
    // The word escaped and in double quotes, its quotes escaped too (\").
    static std::string quote(const std::string &word);
    // The quote of text's first bytes, at most maxBytes and never part of a character, followed by
    // "..." when text is longer: for text too long to repeat.
    static std::string quoteStart(const std::string &text, std::size_t maxBytes);
    // The same without the quotes: for a message of another reader that quotes what it read.
    static std::string escapeStart(const std::string &text, std::size_t maxBytes);
    // True when text is valid UTF-8 without control characters (escape leaves it as it is, but
    // for backslashes).
    static bool isPrintable(const std::string &text);
    // Empty when text is printable; else the refusal of it, the text quoted after what names it
    // ("shape name", "file name").
    static std::string unprintableProblem(const std::string &what, const std::string &text);
    // The length of the valid UTF-8 sequence at text[at]; 0 when the bytes there are none (stray
    // continuation, overlong form, surrogate, beyond U+10FFFF, or cut short).
    static std::size_t utf8Length(const std::string &text, std::size_t at);
    static std::string join(const std::vector<std::string> &items, const std::string &separator);

private:
    // The length of the printable character at text[at]; 0 for a control character or a byte
    // that starts no valid UTF-8 sequence.
    static std::size_t printableLength(const std::string &text, std::size_t at);
    // The length of text's longest start of at most maxBytes that cuts no character.
    static std::size_t startLength(const std::string &text, std::size_t maxBytes);
    static std::string escapeWith(const std::string &text, bool quotes);
};

} // namespace VoSession
