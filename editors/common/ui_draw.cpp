// The editors' panels, lists, picker, dialogs and cards in GL.
#include "editors/common/ui_draw.h"

#include <SDL_opengl.h>

#include <algorithm>

namespace {

constexpr float ui_z = -0.5f;
const ed_colour panel_colour{0.08f, 0.09f, 0.16f, 0.92f};
const ed_colour frame_colour{0.75f, 0.68f, 0.45f, 1.0f};
const ed_colour dim_text{0.72f, 0.74f, 0.8f, 1.0f};
const ed_colour warn_text{1.0f, 0.55f, 0.4f, 1.0f};
const ed_colour button_colour{0.22f, 0.25f, 0.38f, 1.0f};
const ed_colour button_hover{0.36f, 0.42f, 0.62f, 1.0f};

void set_colour(ed_colour c)
{
    glColor4f(c.r, c.g, c.b, c.a);
}

void textured(gl_texture* texture, const ed_rect& r, ed_colour c)
{
    if (!texture) {
        ed_fill(r, c);
        return;
    }
    set_colour(c);
    draw_textured_rect(texture, rect_full_u | rect_full_v, r.left, r.top, r.right, r.bottom, ui_z);
}

void button(const ed_ui_textures& ui, const ed_rect& r, const char* label, bool hovered)
{
    ed_fill(r, hovered ? button_hover : button_colour);
    ed_outline(r, frame_colour);
    float w = float(std::string(label).size()) * (ui.text ? ui.text->cell_width : 0.66f);
    float h = ui.text ? ui.text->cell_height : 1.0f;
    ed_text(ui, (r.left + r.right - w) / 2, (r.top + r.bottom - h) / 2, label);
}

}  // namespace

void ed_ui_textures::load(pak_system& store, float cell_width, float cell_height)
{
    ref_ptr<gl_texture> sheet;
    store.get_object("tex\\font\\8x8_1", sheet);
    text = new font(sheet, cell_width, cell_height);
    store.get_object("tex\\ui\\listbox_bkg", listbox_bkg);
    store.get_object("tex\\ui\\listbox_sel", listbox_sel);
    store.get_object("tex\\ui\\scroll_bkg", scroll_bkg);
    store.get_object("tex\\ui\\scroll_but", scroll_but);
}

void ed_ui_textures::release()
{
    text = nullptr;
    listbox_bkg = listbox_sel = scroll_bkg = scroll_but = nullptr;
}

void ed_fill(const ed_rect& r, ed_colour c)
{
    glDisable(GL_TEXTURE_2D);
    set_colour(c);
    glBegin(GL_QUADS);
    glVertex3f(r.left, r.top, ui_z);
    glVertex3f(r.right, r.top, ui_z);
    glVertex3f(r.right, r.bottom, ui_z);
    glVertex3f(r.left, r.bottom, ui_z);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void ed_outline(const ed_rect& r, ed_colour c)
{
    glDisable(GL_TEXTURE_2D);
    set_colour(c);
    glBegin(GL_LINE_LOOP);
    glVertex3f(r.left, r.top, ui_z);
    glVertex3f(r.right, r.top, ui_z);
    glVertex3f(r.right, r.bottom, ui_z);
    glVertex3f(r.left, r.bottom, ui_z);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void ed_text(const ed_ui_textures& ui, float x, float y, const std::string& line, ed_colour c)
{
    if (!ui.text)
        return;
    set_colour(c);
    ui.text->print(x, y, ui_z, line.c_str());
}

void ed_list(const ed_ui_textures& ui, const ed_list_box& list)
{
    // The level must not show through the names.
    ed_fill(list.rect, {0.1f, 0.07f, 0.05f, 1.0f});
    textured(ui.listbox_bkg.get(), list.rect, {1, 1, 1, 1});
    ed_outline(list.rect, frame_colour);
    float cell = ui.text ? ui.text->cell_width : 0.66f;
    for (int32_t i = list.first; i < list.size() && i < list.first + list.rows_shown(); ++i) {
        ed_rect row = list.row_rect(i);
        bool lit = i == list.hovered || i == list.marked;
        if (lit)
            textured(ui.listbox_sel.get(), row, {1, 1, 1, i == list.hovered ? 1.0f : 0.6f});
        // Long names are cut to the row rather than run under the scroll bar.
        size_t fits = size_t(std::max(0.0f, (row.width() - 1.0f) / cell));
        ed_text(ui, row.left + 0.5f, row.top, list.items[size_t(i)].substr(0, fits),
                lit ? ed_colour{0.12f, 0.07f, 0.02f, 1} : ed_colour{});
    }
    if (list.scrolls()) {
        textured(ui.scroll_bkg.get(), list.bar_rect(), {0.7f, 0.7f, 0.75f, 1});
        textured(ui.scroll_but.get(), list.thumb_rect(), {1, 1, 1, 1});
    }
}

void ed_picker(const ed_ui_textures& ui, const ed_file_picker& picker)
{
    ed_fill(ed_picker_panel, panel_colour);
    ed_outline(ed_picker_panel, frame_colour);
    std::string title = (picker.saving ? "Save " : "Open ") + picker.title + "  (*" + picker.extension + ")";
    ed_text(ui, ed_picker_text_x, ed_picker_title_y, title, frame_colour);
    // A long folder keeps its end, where the names that tell folders apart are.
    float cell = ui.text ? ui.text->cell_width : 0.66f;
    size_t room = size_t((ed_picker_panel.right - ed_picker_text_x - 1) / cell) - 3;
    std::string where = picker.folder.size() > room ? "..." + picker.folder.substr(picker.folder.size() - room + 3)
                                                    : picker.folder;
    ed_text(ui, ed_picker_text_x, ed_picker_folder_y, "in " + where, dim_text);
    ed_list(ui, picker.list);
    if (picker.list.size() == 0)
        ed_text(ui, ed_picker_list_area.left + 1, ed_picker_list_area.top + 1,
                picker.saving ? "(no files yet)" : "(no files here)", dim_text);
    ed_text(ui, ed_picker_text_x, ed_picker_name_field.top + 0.25f, "Name:");
    ed_fill(ed_picker_name_field, {0, 0, 0, 0.8f});
    ed_outline(ed_picker_name_field, frame_colour);
    ed_text(ui, ed_picker_name_field.left + 0.5f, ed_picker_name_field.top + 0.25f, picker.typed + "_");
    if (!picker.problem.empty())
        ed_text(ui, ed_picker_text_x, ed_picker_problem_y, picker.problem, warn_text);
    button(ui, ed_picker_ok_button, picker.saving ? "Save" : "Open", picker.hovered_button == 1);
    button(ui, ed_picker_cancel_button, "Cancel", picker.hovered_button == 2);
}

void ed_dialog_draw(const ed_ui_textures& ui, const ed_dialog& dialog)
{
    if (!dialog.open)
        return;
    ed_rect panel = dialog.panel();
    ed_fill(panel, panel_colour);
    ed_outline(panel, frame_colour);
    ed_text(ui, ed_dialog_text_x, ed_dialog_text_y - 1.8f, dialog.caption, frame_colour);
    for (size_t i = 0; i < dialog.lines.size(); ++i)
        ed_text(ui, ed_dialog_text_x, ed_dialog_text_y + float(i) * ed_dialog_line_height, dialog.lines[i]);
    ed_text(ui, ed_dialog_text_x, dialog.keys_line_y(), dialog.keys_line(), dim_text);
    for (size_t i = 0; i < dialog.buttons.size(); ++i)
        button(ui, dialog.button_rect(i), ed_answer_label(dialog.buttons[i]), int32_t(i) == dialog.hovered);
}

void ed_card(const ed_ui_textures& ui, const std::string& caption, const std::vector<std::string>& lines)
{
    float line_h = ui.text ? ui.text->cell_height : 1.0f;
    float height = float(lines.size() + 3) * line_h;
    ed_rect panel{2, 32 - height / 2, 62, 32 + height / 2};
    ed_fill(panel, panel_colour);
    ed_outline(panel, frame_colour);
    ed_text(ui, panel.left + 1.5f, panel.top + 0.8f, caption, frame_colour);
    for (size_t i = 0; i < lines.size(); ++i)
        ed_text(ui, panel.left + 1.5f, panel.top + 2.3f + float(i) * line_h, lines[i]);
}
