#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <unordered_set>
#include <vector>

namespace VoSession {

// A scene description: the layers beyond the first, and the shapes to build, in order, by name,
// with their layer, their numbers of points and gradient handles and whether their curve's "Points"
// is one single-valued input, and the set of names taken. Its text has one shape a line,
// `shape NAME POINTS [HANDLES] [single]`, or `layer NAME`, after which the shapes go to a new layer
// of that name (its tool node; its editor node is "NAME.Editor"), with '#' comments and blank
// lines. Layer names follow the rules of shape names, with their editor node's name. Names are
// printable UTF-8 without control characters, at most maxNameLength bytes, unique and never those
// of the graph's nodes; a shape once described keeps its name taken, and counts towards the bound
// on shapes, its points and handles towards the total.
class SessionScene {
public:
    struct Shape {
        std::string name;
        int nbPoints = 0;
        int nbHandles = 0;
        bool singleValuedPoints = false;
        // 0: the first layer; n: getLayers()[n - 1].
        int layer = 0;
        // The line that described it, for messages; 0 when it came from no file.
        long long line = 0;
    };

    // The largest number of points or handles that a shape may be given.
    static constexpr int maxCount = 10000;
    // The largest number of points and handles over all the shapes described, deleted ones
    // included: what a session may build is bounded by this, not by the length of its input.
    static constexpr long long maxTotal = 100000;
    // The number of shapes described, deleted ones included, unless the scene is given another.
    static constexpr std::size_t defaultMaxShapes = 100000;
    // The longest name, in bytes.
    static constexpr std::size_t maxNameLength = 256;
    // The most layers a scene may add to the first.
    static constexpr std::size_t maxLayers = 64;

    // reservedNames: names no shape may take (the graph's nodes); maxShapes: how many shapes may
    // be described.
    explicit SessionScene(std::vector<std::string> reservedNames,
                          std::size_t maxShapes = defaultMaxShapes);

    // Reads every line of in and adds its shapes. At the first malformed line, a line too long
    // (SessionLineReader) or one whose reading runs out of memory, stops and gives false with
    // error set to "SOURCE:LINE: what is wrong (expected what)"; the shapes before it stay.
    bool read(std::istream &in, const std::string &source, std::string &error);
    // Reads "NAME POINTS [HANDLES] [single]" from words[first] on into shape, without adding it.
    // Gives what is wrong, "(expected ...)" included, or an empty string.
    std::string parseShape(const std::vector<std::string> &words, std::size_t first,
                           Shape &shape) const;
    void add(const Shape &shape);
    // Takes NAME and "NAME.Editor" for a new layer; gives what is wrong, or an empty string.
    std::string addLayer(const std::string &name);
    const std::vector<Shape> &getShapes() const noexcept { return shapes; }
    const std::vector<std::string> &getLayers() const noexcept { return layers; }

private:
    // Adds the shape that line describes, numbered number; gives what is wrong with the line, or
    // an empty string (a blank line or a comment adds nothing).
    std::string addLine(const std::string &line, long long number);
    std::string checkName(const std::string &name) const;
    std::string checkBounds(const Shape &shape) const;
    static std::string parseCount(const std::string &word, const char *what, int &count);

    std::vector<std::string> reservedNames;
    std::size_t maxShapes;
    std::vector<Shape> shapes;
    std::vector<std::string> layers;
    std::unordered_set<std::string> names;
    long long total = 0;
};

} // namespace VoSession
