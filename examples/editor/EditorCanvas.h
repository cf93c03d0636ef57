#pragma once

#include "EditorDocument.h"
#include "EditorGestures.h"
#include "EditorLayout.h"
#include "EditorShapeTable.h"
#include "EditorShapeView.h"

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

namespace VoEditor {

// The editor's canvas: draws the open scene as the selector holds it, and turns mouse and keys
// into gestures, one library call each, and draws a focus frame while it has the keyboard focus.
// When the library's callbacks say the editor's selection changed, and after each gesture or
// command (the graph may have changed), it repaints only where the shapes and markers that changed
// are drawn; sets the picking state while the pointer moves over a point or handle and reports it.
// Owns its copy of what it draws; borrows the document.
class EditorCanvas : public QWidget {
    Q_OBJECT
public:
    explicit EditorCanvas(EditorDocument &document, QWidget *parent = nullptr);

    EditorLayout getLayout() const;
    EditorGestures &getGestures() noexcept { return gestures; }
    const EditorShapeTable &getTable() const noexcept { return table; }
    // Where the named live shape's point (handle) is drawn now, and a place on its curve between
    // its first two points (its only point, when it has one); (-1, -1) for no such shape.
    QPoint getPointPosition(const std::string &shape, int index) const;
    QPoint getHandlePosition(const std::string &shape, int index) const;
    QPoint getCurvePosition(const std::string &shape) const;

    QSize sizeHint() const override { return QSize(900, 600); }

Q_SIGNALS:
    // What lies under the pointer, for the status bar.
    void pickingChanged(const QString &message);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;
    // The focus frame comes and goes.
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // What a position on the canvas falls on.
    struct Hit {
        enum Kind { Nothing, Point, Handle, Shape } kind = Nothing;
        VoExample::AppShapeInterface *shape = nullptr;
        int index = -1;
        int count = 0;
    };

    Hit hitTest(const QPointF &at, bool partsOfPrimaryOnly) const;
    // Schedules the repaint of what the table says changed.
    void updateDamage(const EditorShapeTable::Damage &damage);
    // The rectangle being dragged out changed: the old and new ones are repainted.
    void moveBand(const QRectF &to);
    // The shapes to draw for a repaint of region, in slot order.
    std::vector<const EditorShapeView *> shapesToPaint(const EditorLayout &layout,
                                                       const QRegion &region) const;
    void hover(const QPointF &at);
    void pickNothing();
    void finishBand();
    // True for the keys this canvas handles, which then go to it, not to a menu's shortcut.
    bool isCanvasKey(const QKeyEvent &event) const;
    // The primary shape has points for Tab to step through.
    bool canStep() const;
    static bool isUndo(const QKeyEvent &event);
    // Ctrl+Shift+Z and Ctrl+Y, whatever the platform's own Redo key.
    static bool isRedo(const QKeyEvent &event);

    EditorDocument &document;
    EditorGestures gestures;
    EditorShapeTable table;
    bool dragging = false;
    QPointF bandStart;
    Qt::KeyboardModifiers bandModifiers;
    QRectF band;
};

} // namespace VoEditor
