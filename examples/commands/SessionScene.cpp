#include "SessionScene.h"

#include "SessionDecimal.h"
#include "SessionLineReader.h"
#include "SessionText.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace VoSession {

namespace {

const char *const shapeSyntax = "\"shape NAME POINTS [HANDLES] [single]\"";
const char *const layerSyntax = "\"layer NAME\"";
const char *const pointsSyntax = "\"points X,Y X,Y ...\"";
const char *const handlesSyntax = "\"handles P P ...\"";

// A word of the scene as a message quotes it: at most its first SessionLineReader::quotedLength
// bytes, so that a message stays short whatever the line held.
std::string quoteWord(const std::string &word) {
    return SessionText::quoteStart(word, SessionLineReader::quotedLength);
}

// The whole of [first, last) as a finite or infinite decimal number, with an optional sign;
// false when it is not one number.
bool parseNumber(const char *first, const char *last, double &value) {
    if (last - first > 1 && *first == '+' && first[1] != '-' && first[1] != '+') {
        ++first; // an explicit sign, which SessionDecimal leaves to the caller
    }
    return SessionDecimal::read(first, last, value);
}

// "X,Y" into x and y; gives what is wrong, or an empty string.
std::string parsePoint(const std::string &word, double &x, double &y) {
    const std::size_t comma = word.find(',');
    const char *begin = word.data();
    if (comma == std::string::npos || !parseNumber(begin, begin + comma, x) ||
        !parseNumber(begin + comma + 1, begin + word.size(), y)) {
        return "malformed point position " + quoteWord(word) +
               " (expected X,Y: two decimal numbers and a comma, no blank)";
    }
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return "point position " + quoteWord(word) +
               " is not finite (expected X,Y: two finite numbers)";
    }
    return std::string();
}

std::string parseHandle(const std::string &word, double &place) {
    if (!parseNumber(word.data(), word.data() + word.size(), place)) {
        return "malformed handle place " + quoteWord(word) +
               " (expected a decimal number from 0 to 1)";
    }
    if (!(place >= 0 && place <= 1)) { // NaN fails both
        return "handle place " + quoteWord(word) + " out of range (expected a number from 0 to 1)";
    }
    return std::string();
}

std::string tooMany(const SessionScene::Shape &shape, const char *what, int count,
                    const std::string &word) {
    return "shape " + SessionText::quote(shape.name) + " has " + std::to_string(count) + " " +
           what + "s, and " + quoteWord(word) + " is one more position (expected " +
           std::to_string(count) + " positions or none)";
}

} // namespace

SessionScene::SessionScene(std::vector<std::string> nodeNames, std::size_t bound)
    : SessionScene(std::move(nodeNames), Limits{bound, defaultMaxCount, defaultMaxTotal}) {}

SessionScene::SessionScene(std::vector<std::string> nodeNames, const Limits &bounds)
    : reservedNames(std::move(nodeNames)), limits(bounds) {}

bool SessionScene::read(std::istream &in, const std::string &source, std::string &error) {
    SessionLineReader lines(in);
    std::string line;
    for (long long number = 1;; ++number) {
        std::string problem;
        try {
            const SessionLineReader::Result result = lines.read(line);
            if (result == SessionLineReader::Result::End) {
                problem = closeShape();
                if (problem.empty()) {
                    return true;
                }
            } else {
                problem = result == SessionLineReader::Result::TooLong ? lines.describeTooLong(line)
                                                                       : addLine(line, number);
            }
        } catch (const std::bad_alloc &) {
            std::string().swap(line); // room for the message
            problem = "out of memory reading the scene";
        }
        if (!problem.empty()) {
            error = SessionText::escape(source) + ":" + std::to_string(number) + ": " + problem;
            return false;
        }
    }
}

std::string SessionScene::addLine(const std::string &line, long long number) {
    const std::vector<std::string> words = SessionText::splitWords(line);
    if (words.empty()) {
        return std::string();
    }
    if (words.front() == "points" || words.front() == "handles") {
        return addPositions(words);
    }
    std::string closing = closeShape();
    if (!closing.empty()) {
        return closing;
    }
    if (words.front() == "layer") {
        return words.size() == 2
                   ? addLayer(words[1])
                   : std::string("a layer line holds one name (expected ") + layerSyntax + ")";
    }
    if (words.front() != "shape") {
        return "unknown directive " + quoteWord(words.front()) + " (expected " + shapeSyntax +
               ", " + pointsSyntax + ", " + handlesSyntax + " or " + layerSyntax + ")";
    }
    Shape shape;
    std::string problem = parseShape(words, 1, shape);
    if (problem.empty()) {
        shape.line = number;
        shape.layer = static_cast<int>(layers.size());
        add(shape);
        shapeOpen = true;
    }
    return problem;
}

std::string SessionScene::addPositions(const std::vector<std::string> &words) {
    const bool points = words.front() == "points";
    if (!shapeOpen) {
        return SessionText::quote(words.front()) + " line before any shape (expected " +
               shapeSyntax + " before it)";
    }
    Shape &shape = shapes.back();
    if (points && shape.singleValuedPoints) {
        return "shape " + SessionText::quote(shape.name) +
               " has a single-valued curve, with no input per point (expected no points line)";
    }
    std::vector<double> &values = points ? shape.points : shape.handles;
    const int count = points ? shape.nbPoints : shape.nbHandles;
    for (std::size_t word = 1; word < words.size(); ++word) {
        const std::size_t given = points ? values.size() / 2 : values.size();
        if (given >= static_cast<std::size_t>(count)) {
            return tooMany(shape, points ? "point" : "handle", count, words[word]);
        }
        double x = 0;
        double y = 0;
        const std::string problem =
            points ? parsePoint(words[word], x, y) : parseHandle(words[word], x);
        if (!problem.empty()) {
            return problem;
        }
        values.push_back(x);
        if (points) {
            values.push_back(y);
        }
    }
    return std::string();
}

std::string SessionScene::closeShape() {
    if (!shapeOpen) {
        return std::string();
    }
    shapeOpen = false;
    const Shape &shape = shapes.back();
    const std::size_t points = shape.points.size() / 2;
    const auto incomplete = [&shape](const char *what, std::size_t given, int count) {
        return "shape " + SessionText::quote(shape.name) + " of line " +
               std::to_string(shape.line) + " has " + std::to_string(given) + " of its " +
               std::to_string(count) + " " + what + " positions (expected all or none)";
    };
    if (points != 0 && points != static_cast<std::size_t>(shape.nbPoints)) {
        return incomplete("point", points, shape.nbPoints);
    }
    if (!shape.handles.empty() &&
        shape.handles.size() != static_cast<std::size_t>(shape.nbHandles)) {
        return incomplete("handle", shape.handles.size(), shape.nbHandles);
    }
    return std::string();
}

std::string SessionScene::parseShape(const std::vector<std::string> &words, std::size_t first,
                                     Shape &shape) const {
    if (words.size() <= first) {
        return std::string("missing shape name (expected ") + shapeSyntax + ")";
    }
    shape.name = words[first];
    std::string problem = checkName(shape.name);
    if (!problem.empty()) {
        return problem;
    }
    if (words.size() <= first + 1) {
        return std::string("missing point count after the name (expected ") + shapeSyntax + ")";
    }
    problem = parseCount(words[first + 1], "point", shape.nbPoints);
    std::size_t next = first + 2;
    if (problem.empty() && next < words.size() && words[next] != "single") {
        problem = parseCount(words[next++], "handle", shape.nbHandles);
    }
    if (problem.empty() && next < words.size() && words[next] == "single") {
        shape.singleValuedPoints = true;
        ++next;
    }
    if (problem.empty() && next < words.size()) {
        problem = "unexpected " + quoteWord(words[next]) + " (expected the end of the line after " +
                  shapeSyntax + ")";
    }
    return problem.empty() ? checkBounds(shape) : problem;
}

void SessionScene::add(const Shape &shape) {
    names.insert(shape.name);
    try {
        shapes.push_back(shape);
    } catch (...) {
        names.erase(shape.name);
        throw;
    }
    total += shape.nbPoints + shape.nbHandles;
}

std::string SessionScene::addLayer(const std::string &name) {
    const std::string editor = name + ".Editor";
    std::string problem = checkName(name);
    if (problem.empty()) {
        problem = checkName(editor);
    }
    if (problem.empty() && layers.size() >= maxLayers) {
        problem = "layer " + SessionText::quote(name) + " makes the scene too large (expected at " +
                  "most " + std::to_string(maxLayers) + " layers beyond the first)";
    }
    if (problem.empty()) {
        layers.push_back(name);
        names.insert(name);
        names.insert(editor);
    }
    return problem;
}

std::string SessionScene::checkName(const std::string &name) const {
    if (name.size() > maxNameLength) {
        return "shape name " + SessionText::quoteStart(name, SessionLineReader::quotedLength) +
               " is " + std::to_string(name.size()) + " bytes long (expected at most " +
               std::to_string(maxNameLength) + " bytes)";
    }
    const std::string unprintable = SessionText::unprintableProblem("shape name", name);
    if (!unprintable.empty()) {
        return unprintable;
    }
    if (std::find(reservedNames.begin(), reservedNames.end(), name) != reservedNames.end()) {
        return SessionText::quote(name) + " names a node of the graph (expected a shape name " +
               "other than " + SessionText::join(reservedNames, ", ") + ")";
    }
    if (names.count(name) > 0) {
        return "shape name " + SessionText::quote(name) + " is taken (expected a new name)";
    }
    return std::string();
}

std::string SessionScene::checkBounds(const Shape &shape) const {
    if (shapes.size() >= limits.maxShapes) {
        return "shape " + SessionText::quote(shape.name) +
               " makes the scene too large (expected at most " + std::to_string(limits.maxShapes) +
               " shapes, deleted ones included)";
    }
    const long long left = limits.maxTotal - total;
    if (shape.nbPoints + shape.nbHandles <= left) {
        return std::string();
    }
    return "shape " + SessionText::quote(shape.name) +
           " makes the scene too large (expected at most " + std::to_string(limits.maxTotal) +
           " points and handles over all shapes; " + std::to_string(left) + " are left)";
}

std::string SessionScene::parseCount(const std::string &word, const char *what, int &count) const {
    long long value = 0;
    const SessionText::Number parsed = SessionText::parseInteger(word, value);
    if (parsed == SessionText::Number::Valid && value >= 0 && value <= limits.maxCount) {
        count = static_cast<int>(value);
        return std::string();
    }
    return std::string(parsed == SessionText::Number::Malformed ? "malformed " : "") + what +
           " count " + quoteWord(word) +
           (parsed == SessionText::Number::Malformed ? "" : " out of range") +
           " (expected an integer from 0 to " + std::to_string(limits.maxCount) + ")";
}

} // namespace VoSession
