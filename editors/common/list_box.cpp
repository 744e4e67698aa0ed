// The list box's rows, scroll bar and pointer rules.
#include "editors/common/list_box.h"

#include <algorithm>
#include <cmath>

int32_t ed_list_box::rows_shown() const
{
    if (row_height <= 0)
        return 0;
    return std::max(0, int32_t(std::floor(rect.height() / row_height)));
}

ed_rect ed_list_box::row_rect(int32_t index) const
{
    float top = rect.top + float(index - first) * row_height;
    float right = scrolls() ? rect.right - ed_scroll_width : rect.right;
    return {rect.left, top, right, top + row_height};
}

ed_rect ed_list_box::bar_rect() const
{
    return {rect.right - ed_scroll_width, rect.top, rect.right, rect.bottom};
}

ed_rect ed_list_box::thumb_rect() const
{
    ed_rect bar = bar_rect();
    if (!scrolls())
        return bar;
    float span = bar.height();
    float thumb = std::max(row_height, span * float(rows_shown()) / float(size()));
    int32_t last_first = size() - rows_shown();
    float top = bar.top + (span - thumb) * float(first) / float(std::max(1, last_first));
    return {bar.left, top, bar.right, top + thumb};
}

void ed_list_box::clamp_first()
{
    first = std::clamp(first, 0, std::max(0, size() - rows_shown()));
}

void ed_list_box::scroll_by(int32_t rows)
{
    first += rows;
    clamp_first();
}

void ed_list_box::reveal(int32_t index)
{
    if (index < 0 || index >= size())
        return;
    if (index < first)
        first = index;
    else if (index >= first + rows_shown())
        first = index - rows_shown() + 1;
    clamp_first();
}

void ed_list_box::fit_height()
{
    float wanted = rect.top + float(std::max(size(), 1)) * row_height + 0.25f;
    rect.bottom = std::min(rect.bottom, wanted);
}

int32_t ed_list_box::find(const std::string& name) const
{
    auto it = std::find(items.begin(), items.end(), name);
    return it == items.end() ? -1 : int32_t(it - items.begin());
}

void ed_list_box::point(float x, float y)
{
    if (dragging) {
        ed_rect bar = bar_rect(), thumb = thumb_rect();
        float travel = bar.height() - thumb.height();
        int32_t last_first = size() - rows_shown();
        if (travel > 0)
            first = int32_t(std::lround((y - drag_offset - bar.top) / travel * float(last_first)));
        clamp_first();
    }
    hovered = -1;
    if (!rect.contains(x, y) || (scrolls() && bar_rect().contains(x, y)))
        return;
    int32_t row = first + int32_t(std::floor((y - rect.top) / row_height));
    if (row >= first && row < first + rows_shown() && row < size())
        hovered = row;
}

int32_t ed_list_box::press(float x, float y)
{
    if (scrolls() && bar_rect().contains(x, y)) {
        ed_rect thumb = thumb_rect();
        if (y < thumb.top)
            scroll_by(-rows_shown());
        else if (y > thumb.bottom)
            scroll_by(rows_shown());
        else {
            dragging = true;
            drag_offset = y - thumb.top;
        }
        return -1;
    }
    point(x, y);
    return hovered;
}
