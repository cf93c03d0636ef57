#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSize>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace VoEditor {

// The canvas's shapes drawn once into images and kept between repaints, two looks a shape (the
// last two asked for), so that a repaint which changes only the selection copies each shape's
// image instead of stroking its curve again. Each image is kept under what its pixels follow, and
// is drawn afresh when any of that changed. Owns the images.
class EditorShapeImages {
public:
    // What the pixels of a shape's image follow: its geometry's revision, the view, the look it
    // is drawn in, the counts its parts are drawn for, and the device.
    struct Key {
        std::uint64_t revision = 0;
        double scale = 0;
        QPointF offset;
        int look = -1;
        int nbPoints = 0;
        int nbHandles = 0;
        double ratio = 0;
        QSize area;

        bool operator==(const Key &other) const;
    };
    // A drawing, and where its top left corner goes on the canvas, in pixels; cut when the
    // shape reaches past the canvas, whose edge then cut the drawing; plain when drawn in one
    // colour only, so that each pixel's alpha is what the shape covers of it.
    struct Image {
        QImage image;
        QPoint at;
        bool cut = false;
        bool plain = false;
    };

    // The image of the shape in slot under key: the one kept, or the one draw makes, which then
    // takes the place of the one asked for less recently.
    const Image &get(int slot, const Key &key, const std::function<Image()> &draw);
    // The image kept of the shape in slot under key, if any; asks for nothing.
    const Image *find(int slot, const Key &key) const;
    // Lets every image go.
    void clear() { bySlot.clear(); }
    // How many images are kept.
    std::size_t getNbImages() const noexcept;

private:
    struct Entry {
        Key key;
        Image image;
        bool filled = false;
    };

    // By slot: the image asked for last first.
    std::vector<std::array<Entry, 2>> bySlot;
};

} // namespace VoEditor
