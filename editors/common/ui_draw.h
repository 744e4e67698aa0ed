// Drawing of the editors' shared pieces with the editor font: panels, list boxes, the file
// picker, the dialogs, the help card and plain text lines. Everything is drawn in the
// interface space the caller has set, reading the pieces' state and changing nothing.
#pragma once

#include "data/pak.h"
#include "editors/common/dialog.h"
#include "editors/common/file_picker.h"
#include "editors/common/list_box.h"
#include "render/font.h"

#include <string>
#include <vector>

struct ed_ui_textures {
    ref_ptr<font> text;  // "tex\font\8x8_1" at the editor's cell size
    ref_ptr<gl_texture> listbox_bkg, listbox_sel, scroll_bkg, scroll_but;

    // Fetches the font sheet and the list textures; missing ones draw plainly.
    void load(pak_system& store, float cell_width, float cell_height);
    void release();
};

struct ed_colour {
    float r = 1, g = 1, b = 1, a = 1;
};

// A filled rectangle (no texture), and its outline.
void ed_fill(const ed_rect& r, ed_colour c);
void ed_outline(const ed_rect& r, ed_colour c);
// One line of text in a colour.
void ed_text(const ed_ui_textures& ui, float x, float y, const std::string& line, ed_colour c = {});
void ed_list(const ed_ui_textures& ui, const ed_list_box& list);
void ed_picker(const ed_ui_textures& ui, const ed_file_picker& picker);
void ed_dialog_draw(const ed_ui_textures& ui, const ed_dialog& dialog);
// A card of lines over the middle of the interface (the help card).
void ed_card(const ed_ui_textures& ui, const std::string& caption, const std::vector<std::string>& lines);
