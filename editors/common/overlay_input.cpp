#include "editors/common/overlay_input.h"

#include "app/input_codes.h"

ed_overlay_input ed_route_overlay_mouse(ed_dialog& dialog, ed_file_picker& picker, bool& help, uint32_t flags,
                                        float x, float y)
{
    ed_overlay_input out;
    if (dialog.open) {
        out.taken = true;
        dialog.point(x, y);
        out.purpose = dialog.purpose;
        if (flags & left_press)
            out.answer = dialog.press(x, y);
    } else if (picker.open) {
        out.taken = true;
        picker.point(x, y);
        if (flags & left_release)
            picker.release();
        if (flags & (left_press | left_double)) {
            out.picked = true;
            out.pick = picker.press(x, y, flags & left_double);
        }
    } else if (help) {
        out.taken = true;
        if (flags & (left_press | right_press))
            help = false;
    }
    return out;
}

ed_overlay_input ed_route_overlay_key(ed_dialog& dialog, ed_file_picker& picker, bool& help, uint32_t vk)
{
    ed_overlay_input out;
    out.taken = dialog.open || picker.open || help;
    if (dialog.open) {
        out.purpose = dialog.purpose;
        out.answer = dialog.key(vk);
    } else if (picker.open) {
        out.picked = true;
        out.pick = picker.key(vk);
    } else {
        help = false;
    }
    return out;
}
