#include "SessionSelectionFile.h"

#include "SessionFileReader.h"
#include "SessionFileWriter.h"
#include "SessionLineReader.h"
#include "SessionText.h"

#include "base/RCException.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace VoSession {

namespace {

// How much of what a malformed line holds, and of what was expected instead, a message repeats.
const std::size_t quotedLength = 120;

std::string at(const std::string &path, std::size_t line) {
    return SessionText::escape(path) + ":" + std::to_string(line) + ": ";
}

} // namespace

std::string SessionSelectionFile::save(const std::string &path,
                                       const Vo::SeSelectionSnapshot &snapshot) {
    const std::string text = snapshot.toText();
    if (!readsBack(text, snapshot)) {
        throw std::bad_alloc();
    }
    const std::string content = text + endLine + "\n";
    const std::string refused = unreadable(content);
    if (!refused.empty()) {
        return "cannot write " + SessionText::quote(path) + ": " + refused;
    }
    const std::string problem = SessionFileWriter(files).save(path, content);
    return problem.empty() ? problem
                           : "cannot write " + SessionText::quote(path) +
                                 ", which is left as it was: " + problem +
                                 " (expected a regular file that can be written)";
}

// The text form's streams take an allocation failure for the end of the text, which then ends
// midway through a line, or lacks whole lines: entries or the picking line.
bool SessionSelectionFile::readsBack(const std::string &text,
                                     const Vo::SeSelectionSnapshot &snapshot) {
    Vo::SeSelectionSnapshot read;
    try {
        read = Vo::SeSelectionSnapshot::fromText(text);
    } catch (const Vo::RCException &) {
        return false;
    }
    return !text.empty() && text.back() == '\n' &&
           read.getEntries().size() == snapshot.getEntries().size() &&
           read.getPickingType() == snapshot.getPickingType() &&
           read.getPickingIndex() == snapshot.getPickingIndex() &&
           read.getPickingExtremity() == snapshot.getPickingExtremity();
}

std::string SessionSelectionFile::unreadable(const std::string &text) {
    if (text.size() > SessionFileReader::defaultMaxBytes) {
        return "the selection's text form holds " + std::to_string(text.size()) +
               " bytes (expected at most " + std::to_string(SessionFileReader::defaultMaxBytes) +
               ", what load-file reads)";
    }
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end - start > SessionLineReader::maxLength) {
            return "the selection's text form holds a line of " + std::to_string(end - start) +
                   " bytes (expected at most " + std::to_string(SessionLineReader::maxLength) +
                   " bytes a line, what load-file reads)";
        }
        start = end + 1;
    }
    return std::string();
}

bool SessionSelectionFile::load(const std::string &path, Vo::SeSelectionSnapshot &snapshot,
                                std::string &problem) {
    std::vector<std::string> lines;
    if (!SessionFileReader(files, "a file written by save-file").read(path, lines, problem)) {
        return false;
    }
    const auto end = std::find(lines.begin(), lines.end(), endLine);
    const auto endAt = static_cast<std::size_t>(end - lines.begin());
    if (end == lines.end()) {
        problem = at(path, endAt + 1) + "the file ends without its end line " +
                  SessionText::quote(endLine) + " (expected a whole file written by save-file)";
        return false;
    }
    if (end + 1 != lines.end()) {
        problem = at(path, endAt + 2) + "text after the end line (expected the end of the file)";
        return false;
    }
    std::string text; // the end line too: a comment of the text form
    for (const std::string &line : lines) {
        text += line + '\n';
    }
    try {
        snapshot = Vo::SeSelectionSnapshot::fromText(text);
    } catch (const Vo::RCException &raised) {
        problem = locate(path, raised.what());
        return false;
    }
    if (!isWhole(lines, snapshot)) {
        throw std::bad_alloc();
    }
    return true;
}

// Every shape line made an entry, and the last picking line gave the picking state. The lines
// fromText skips (blank ones, comments) are skipped here too.
bool SessionSelectionFile::isWhole(const std::vector<std::string> &lines,
                                   const Vo::SeSelectionSnapshot &read) {
    std::size_t shapes = 0;
    std::vector<std::string> picking;
    for (const std::string &line : lines) {
        std::vector<std::string> words = SessionText::splitWords(line);
        if (!words.empty() && words.front() == "shape") {
            ++shapes;
        } else if (!words.empty() && words.front() == "picking") {
            picking = std::move(words);
        }
    }
    const long long wanted[] = {static_cast<long long>(read.getPickingType()),
                                read.getPickingIndex(), read.getPickingExtremity()};
    for (std::size_t word = 1; picking.size() == 4 && word < 4; ++word) {
        long long value = 0;
        if (SessionText::parseInteger(picking[word], value) == SessionText::Number::Valid &&
            value != wanted[word - 1]) {
            return false;
        }
    }
    return shapes == read.getEntries().size();
}

// The line SeSelectionSnapshot names is the file's: the end line comes after every other. A
// message that is not printable and short already has what it quotes escaped and cut, the expected
// part kept.
std::string SessionSelectionFile::locate(const std::string &path, const std::string &message) {
    const std::string prefix = "line ";
    const std::size_t colon = message.find(": ");
    long long line = 0;
    const bool numbered =
        message.compare(0, prefix.size(), prefix) == 0 && colon != std::string::npos &&
        SessionText::parseInteger(message.substr(prefix.size(), colon - prefix.size()), line) ==
            SessionText::Number::Valid &&
        line > 0;
    const std::string what = numbered ? message.substr(colon + 2) : message;
    if (SessionText::isPrintable(what) && what.size() <= 2 * quotedLength) {
        // The reader's own message, escaped and cut already: escaping it again would double its
        // backslashes.
        return (numbered ? at(path, static_cast<std::size_t>(line))
                         : SessionText::escape(path) + ": ") +
               what;
    }
    const std::size_t expected = std::min(what.rfind(" (expected "), what.size());
    return (numbered ? at(path, static_cast<std::size_t>(line))
                     : SessionText::escape(path) + ": ") +
           SessionText::escapeStart(what.substr(0, expected), quotedLength) +
           SessionText::escapeStart(what.substr(expected), quotedLength);
}

} // namespace VoSession
