// The editors' list box: named entries in a rectangle of the interface space, one row per
// line of the editor font, a scroll bar on the right when they do not all fit. The logic
// (hovering, choosing, scrolling) lives here; editors/common/ui_draw.h draws it.
#pragma once

#include "editors/common/ed_rect.h"

#include <cstdint>
#include <string>
#include <vector>

// The width of the scroll bar at the list's right edge.
constexpr float ed_scroll_width = 1.5f;

class ed_list_box {
public:
    std::vector<std::string> items;
    ed_rect rect;
    float row_height = 1.0f;
    int32_t first = 0;     // the first row shown
    int32_t hovered = -1;  // the row under the pointer, -1 for none
    int32_t marked = -1;   // a row shown as chosen (the file picker's), -1 for none
    bool dragging = false;  // the scroll thumb follows the pointer

    ed_list_box() = default;
    ed_list_box(ed_rect area, float row) : rect(area), row_height(row) {}

    int32_t size() const { return int32_t(items.size()); }
    int32_t rows_shown() const;
    bool scrolls() const { return size() > rows_shown(); }
    // The row of entry i (valid while it is shown), the scroll bar and its thumb.
    ed_rect row_rect(int32_t index) const;
    ed_rect bar_rect() const;
    ed_rect thumb_rect() const;

    // Follows the pointer: the hovered row, and the thumb while it is dragged.
    void point(float x, float y);
    // A left press: the entry pressed (-1 when none); a press on the bar pages or takes
    // the thumb.
    int32_t press(float x, float y);
    void release() { dragging = false; }
    void scroll_by(int32_t rows);
    // Scrolls so that entry i is shown.
    void reveal(int32_t index);
    // Shortens the rectangle to the rows there are (at least one), never past its bottom.
    void fit_height();
    // The index of the entry with this name, -1 when absent.
    int32_t find(const std::string& name) const;

private:
    float drag_offset = 0;
    void clamp_first();
};
