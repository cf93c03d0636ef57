#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <unordered_set>
#include <vector>

namespace VoSession {

// A scene description: the layers beyond the first, and the shapes to build, in order, by name,
// with their layer, their numbers of points and gradient handles and whether their curve's "Points"
// is one single-valued input, where its points and handles lie, and the set of names taken. Its
// text has one shape a line, `shape NAME POINTS [HANDLES] [single]`, or `layer NAME`, after which
// the shapes go to a new layer of that name (its tool node; its editor node is "NAME.Editor"),
// with '#' comments and blank lines. A shape line may be followed by lines `points X,Y X,Y ...`,
// which give its points' positions in order, as many lines as needed (a line holds at most
// SessionLineReader::maxLength bytes), and `handles P P ...`, its handles' places along its
// gradient, from 0 (its start) to 1 (its end). Numbers are decimal, finite, and given for every
// point (handle) of the shape or for none: a shape without them is placed by SessionPlacement. A
// single-valued curve has no input per point and so takes no `points` line. Layer names follow the
// rules of shape names, with their editor node's name. Names are printable UTF-8 without control
// characters, at most maxNameLength bytes, unique and never those of the graph's nodes; a shape
// once described keeps its name taken, and counts towards the bound on shapes, its points and
// handles towards the total.
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
        // x and y of each point in turn, and each handle's place; empty when the scene gives none.
        std::vector<double> points;
        std::vector<double> handles;
    };

    // The defaults of Limits below.
    static constexpr int defaultMaxCount = 10000;
    static constexpr long long defaultMaxTotal = 100000;
    static constexpr std::size_t defaultMaxShapes = 100000;
    // What a scene may describe. The session driver and the editor take them from their command
    // lines.
    struct Limits {
        // The number of shapes described, deleted ones included.
        std::size_t maxShapes = defaultMaxShapes;
        // The largest number of points or handles that a shape may be given.
        int maxCount = defaultMaxCount;
        // The largest number of points and handles over all the shapes described, deleted ones
        // included: what a session may build is bounded by this, not by the length of its input.
        long long maxTotal = defaultMaxTotal;
    };
    // The largest maxCount a command line may ask for.
    static constexpr int largestMaxCount = 1000000000;
    // The longest name, in bytes.
    static constexpr std::size_t maxNameLength = 256;
    // The most layers a scene may add to the first.
    static constexpr std::size_t maxLayers = 64;

    // reservedNames: names no shape may take (the graph's nodes); maxShapes: how many shapes may
    // be described.
    explicit SessionScene(std::vector<std::string> reservedNames,
                          std::size_t maxShapes = defaultMaxShapes);
    SessionScene(std::vector<std::string> reservedNames, const Limits &limits);

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
    const Limits &getLimits() const noexcept { return limits; }

private:
    // Adds the shape that line describes, numbered number; gives what is wrong with the line, or
    // an empty string (a blank line or a comment adds nothing).
    std::string addLine(const std::string &line, long long number);
    // Adds a `points` or `handles` line's numbers to the last shape read.
    std::string addPositions(const std::vector<std::string> &words);
    // The last shape read has all its positions or none; nothing to check when no shape is open.
    std::string closeShape();
    std::string checkName(const std::string &name) const;
    std::string checkBounds(const Shape &shape) const;
    std::string parseCount(const std::string &word, const char *what, int &count) const;

    std::vector<std::string> reservedNames;
    Limits limits;
    // The last shape of shapes takes the `points` and `handles` lines that follow it in read.
    bool shapeOpen = false;
    std::vector<Shape> shapes;
    std::vector<std::string> layers;
    std::unordered_set<std::string> names;
    long long total = 0;
};

} // namespace VoSession
