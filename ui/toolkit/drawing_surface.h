#pragma once

// What the section sketch draws on: a picture box, or a recorder in tests.

namespace ui {

// What the section sketch needs of a picture box. Coordinates are user
// coordinates of the last user window. Each operation reports whether it
// could be carried out.
class DrawingSurface
{
public:
    enum class FillStyle { solid, transparent };

    virtual ~DrawingSurface() = default;
    virtual void clear() = 0;
    virtual void setFillStyle(FillStyle style) = 0;
    // Maps (x1, y1) to the drawing area's top-left corner and (x2, y2) to its
    // bottom-right, each axis scaled on its own. Fails for an empty or
    // non-finite window.
    virtual bool setUserWindow(float x1, float y1, float x2, float y2) = 0;
    // The outline of the rectangle with corners (x1, y1) and (x2, y2); its
    // inside follows the fill style.
    virtual bool drawBox(float x1, float y1, float x2, float y2) = 0;
    // The rectangle filled with the foreground colour.
    virtual bool fillBox(float x1, float y1, float x2, float y2) = 0;
};

} // namespace ui
