// Drawing of the body editor: in the editor's view the grid with its centre lines, the
// polygons with their textures, the constraints, nodes and corners with what is under the
// pointer, the polygon being made, and in texture sub-mode the texture's tiles with the
// corners' coordinates; while the body is tried, its little world. Then in the interface
// space the title, the status and problem lines, the body editor's own lines and prompts,
// the texture list with a preview, the picker, the dialog and the help card. It reads the
// editor's state and changes nothing of it.
#pragma once

#include "editors/body/body_editor.h"
#include "editors/common/ui_draw.h"

#include <map>
#include <string>
#include <vector>

class glw_window;

namespace bedit {

class body_editor_view {
public:
    ed_ui_textures ui;      // the editor's own lines
    ed_ui_textures widget;  // the list, picker, dialogs and help card
    std::map<std::string, ref_ptr<gl_texture>> textures;  // by name; null for a missing one

    void load(pak_system& store);
    void release();
    void draw(glw_window& window, const body_editor& editor);

private:
    gl_texture* texture(const std::string& name);
    void draw_body(const body_editor& editor);
    void draw_texture_tiles(const body_editor& editor);
    void draw_interface(glw_window& window, const body_editor& editor);
    void draw_labels(const body_editor& editor);
    void draw_preview(const body_editor& editor);
};

// The lines of the help card.
const std::vector<std::string>& body_editor_help();

}  // namespace bedit
