// The editors' file picker, drawn in the editor window with the editor font: the files of
// one kind ("*.LEVL.txt", "*.BTYP.txt") in the current folder, a typed name, Open or Save
// on Enter or a click, Escape to cancel. Every name is reduced to a bare file name of the
// current folder: no path, nothing from its first '.', the kind's extension appended.
#pragma once

#include "editors/common/ed_rect.h"
#include "editors/common/list_box.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The picker's panel and rows, in interface units.
constexpr ed_rect ed_picker_panel = {6, 4, 58, 60};
constexpr float ed_picker_text_x = 7.5f;
constexpr float ed_picker_title_y = 5, ed_picker_folder_y = 6.5f;
constexpr ed_rect ed_picker_list_area = {7.5f, 8.5f, 56.5f, 49.5f};
constexpr float ed_picker_row_height = 1.0f;
constexpr ed_rect ed_picker_name_field = {12, 50.5f, 56.5f, 52};
constexpr float ed_picker_problem_y = 53;
constexpr ed_rect ed_picker_ok_button = {35, 56, 45, 58.5f};
constexpr ed_rect ed_picker_cancel_button = {46.5f, 56, 56.5f, 58.5f};
// Longest name accepted (without the extension).
constexpr size_t ed_picker_name_max = 64;

struct ed_pick {
    enum kind_t { none, chosen, cancelled } kind = none;
    std::string path;  // folder + name + extension
    std::string name;  // the bare name, without the extension
};

class ed_file_picker {
public:
    bool open = false;
    bool saving = false;
    std::string title;      // "Level", "Body Type"
    std::string folder;     // with a trailing '/'
    std::string extension;  // ".LEVL.txt"
    std::string typed;      // the name in the field
    // The field holds a name the picker put there (the current file, a list entry): the
    // first character typed replaces it, and Backspace clears it, as in any file dialog.
    bool fresh = false;
    std::string problem;    // why the folder or the name cannot be used; shown under the field
    // The entries as shown (Latin-1, the editor font's characters), and the bare file
    // names they stand for (UTF-8, as the file system has them).
    ed_list_box list{ed_picker_list_area, ed_picker_row_height};
    std::vector<std::string> files;
    int32_t hovered_button = 0;  // 1 OK, 2 Cancel
    // Saving over a file that exists asks once: the next Enter or OK replaces it.
    bool confirm_replace = false;

    // Opens the picker on the folder's files of the kind; `name` fills the field.
    void begin(const std::string& in_folder, const std::string& kind_title, const std::string& kind_extension,
               bool for_saving, const std::string& name);
    // Reads the folder again (after a save, or when it was missing).
    void refresh();

    void point(float x, float y);
    ed_pick press(float x, float y, bool double_click);
    void release() { list.release(); }
    ed_pick key(uint32_t vk);
    // A typed character (Latin-1); Backspace comes as a key.
    void character(uint32_t latin1);

private:
    ed_pick finish();
    ed_pick cancel();
};

// The bare name a chosen file name stands for: everything after the last '/' or '\',
// cut at its first '.'. "levels/My.Level.LEVL.txt" gives "My".
std::string ed_reduce_name(std::string_view chosen);
// Names typed in the window are Latin-1 (what the editor font draws); file names are UTF-8.
// Characters beyond Latin-1 show as '?'.
std::string ed_latin1_to_utf8(std::string_view latin1);
std::string ed_utf8_to_latin1(std::string_view utf8);
// Whether a bare name can be a file on every system the game runs on: not empty, no
// characters below 32, none of <>:"/\|?*, not ending in a space or a dot. False with the
// reason in `why`.
bool ed_name_usable(const std::string& name, std::string& why);
