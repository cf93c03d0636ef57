#include "SessionScene.h"

#include "SessionText.h"

#include <algorithm>
#include <utility>

namespace VoSession {

namespace {

const char *const shapeSyntax = "\"shape NAME POINTS [HANDLES] [single]\"";

} // namespace

SessionScene::SessionScene(std::vector<std::string> names) : reservedNames(std::move(names)) {}

bool SessionScene::read(std::istream &in, const std::string &source, std::string &error) {
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::vector<std::string> words = SessionText::splitWords(line);
        if (words.empty()) {
            continue;
        }
        Shape shape;
        std::string problem = words.front() == "shape"
                                  ? parseShape(words, 1, shape)
                                  : "unknown directive " + SessionText::quote(words.front()) +
                                        " (expected " + shapeSyntax + ")";
        if (!problem.empty()) {
            error = source + ":" + std::to_string(number) + ": " + problem;
            return false;
        }
        add(shape);
    }
    return true;
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
    return problem;
}

std::string SessionScene::checkName(const std::string &name) const {
    if (std::find(reservedNames.begin(), reservedNames.end(), name) != reservedNames.end()) {
        return SessionText::quote(name) + " names a node of the graph (expected a shape name " +
               "other than " + SessionText::join(reservedNames, ", ") + ")";
    }
    const bool taken = std::any_of(shapes.begin(), shapes.end(),
                                   [&name](const Shape &shape) { return shape.name == name; });
    if (taken) {
        return "shape name " + SessionText::quote(name) + " is taken (expected a new name)";
    }
    return std::string();
}

std::string SessionScene::parseCount(const std::string &word, const char *what, int &count) {
    if (!SessionText::parseInteger(word, count) || count < 0 || count > maxCount) {
        return std::string("malformed ") + what + " count " + SessionText::quote(word) +
               " (expected an integer from 0 to " + std::to_string(maxCount) + ")";
    }
    return std::string();
}

} // namespace VoSession
