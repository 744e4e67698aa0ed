// Drawing of the level editor: the level in the world view with the grid, the playfield's
// edge and the editor's marks, then in the interface space the title, status and selection
// lines, the prompts, the lists with the preview of the highlighted type, the picker, the
// dialog and the help card. It reads the editor's state and changes nothing of it.
#pragma once

#include "editors/common/ui_draw.h"
#include "editors/level/level_editor.h"

#include <memory>

class glw_window;

class level_editor_view {
public:
    ed_ui_textures ui;
    // The little world the preview of a highlighted type is drawn from, rebuilt when the
    // highlighted entry changes.
    std::unique_ptr<v_world> preview;
    int32_t preview_mode = -1, preview_entry = -1;

    void draw(glw_window& window, level_editor& editor);

private:
    void draw_world_view(glw_window& window, level_editor& editor);
    void draw_interface(glw_window& window, level_editor& editor);
    void draw_preview(level_editor& editor);
};

// The lines of the help card, one key or group of keys a line.
const std::vector<std::string>& level_editor_help();
