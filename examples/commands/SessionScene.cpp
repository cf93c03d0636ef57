#include "SessionScene.h"

#include "SessionLineReader.h"
#include "SessionText.h"

#include <algorithm>
#include <new>
#include <utility>

namespace VoSession {

namespace {

const char *const shapeSyntax = "\"shape NAME POINTS [HANDLES] [single]\"";
const char *const layerSyntax = "\"layer NAME\"";

} // namespace

SessionScene::SessionScene(std::vector<std::string> nodeNames, std::size_t bound)
    : reservedNames(std::move(nodeNames)), maxShapes(bound) {}

bool SessionScene::read(std::istream &in, const std::string &source, std::string &error) {
    SessionLineReader lines(in);
    std::string line;
    for (long long number = 1;; ++number) {
        std::string problem;
        try {
            const SessionLineReader::Result result = lines.read(line);
            if (result == SessionLineReader::Result::End) {
                return true;
            }
            problem = result == SessionLineReader::Result::TooLong ? lines.describeTooLong(line)
                                                                   : addLine(line, number);
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
    if (words.front() == "layer") {
        return words.size() == 2
                   ? addLayer(words[1])
                   : std::string("a layer line holds one name (expected ") + layerSyntax + ")";
    }
    if (words.front() != "shape") {
        return "unknown directive " + SessionText::quote(words.front()) + " (expected " +
               shapeSyntax + " or " + layerSyntax + ")";
    }
    Shape shape;
    std::string problem = parseShape(words, 1, shape);
    if (problem.empty()) {
        shape.line = number;
        shape.layer = static_cast<int>(layers.size());
        add(shape);
    }
    return problem;
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
        problem = "unexpected " + SessionText::quote(words[next]) +
                  " (expected the end of the line after " + shapeSyntax + ")";
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
    if (!SessionText::isPrintable(name)) {
        return "shape name " + SessionText::quote(name) +
               " holds a control character or is not UTF-8 (expected printable UTF-8)";
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
    if (shapes.size() >= maxShapes) {
        return "shape " + SessionText::quote(shape.name) +
               " makes the scene too large (expected at most " + std::to_string(maxShapes) +
               " shapes, deleted ones included)";
    }
    const long long left = maxTotal - total;
    if (shape.nbPoints + shape.nbHandles <= left) {
        return std::string();
    }
    return "shape " + SessionText::quote(shape.name) +
           " makes the scene too large (expected at most " + std::to_string(maxTotal) +
           " points and handles over all shapes; " + std::to_string(left) + " are left)";
}

std::string SessionScene::parseCount(const std::string &word, const char *what, int &count) {
    long long value = 0;
    const SessionText::Number parsed = SessionText::parseInteger(word, value);
    if (parsed == SessionText::Number::Valid && value >= 0 && value <= maxCount) {
        count = static_cast<int>(value);
        return std::string();
    }
    return std::string(parsed == SessionText::Number::Malformed ? "malformed " : "") + what +
           " count " + SessionText::quote(word) +
           (parsed == SessionText::Number::Malformed ? "" : " out of range") +
           " (expected an integer from 0 to " + std::to_string(maxCount) + ")";
}

} // namespace VoSession
