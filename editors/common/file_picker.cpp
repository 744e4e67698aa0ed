// The file picker's folder listing, name field and answers.
#include "editors/common/file_picker.h"

#include "app/input_codes.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string ed_reduce_name(std::string_view chosen)
{
    size_t slash = chosen.find_last_of("/\\");
    if (slash != std::string_view::npos)
        chosen.remove_prefix(slash + 1);
    return std::string(chosen.substr(0, chosen.find('.')));
}

std::string ed_latin1_to_utf8(std::string_view latin1)
{
    std::string out;
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string ed_utf8_to_latin1(std::string_view utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = utf8[i];
        size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        uint32_t code = c < 0x80 ? c : length == 2 && i + 1 < utf8.size() ? (c & 0x1Fu) << 6 | (utf8[i + 1] & 0x3Fu) : '?';
        out += code <= 0xFF ? char(code) : '?';
        i += std::min(length, utf8.size() - i);
    }
    return out;
}

bool ed_name_usable(const std::string& name, std::string& why)
{
    if (name.empty()) {
        why = "Type a name.";
        return false;
    }
    if (name.size() > ed_picker_name_max) {
        why = "The name is too long.";
        return false;
    }
    for (unsigned char c : name)
        if (c < 32 || std::string_view("<>:\"/\\|?*").find(char(c)) != std::string_view::npos) {
            why = "A file name cannot hold the character '" + std::string(1, char(c < 32 ? '?' : c)) + "'.";
            return false;
        }
    if (name.back() == ' ') {
        why = "A file name cannot end in a space.";
        return false;
    }
    return true;
}

void ed_file_picker::begin(const std::string& in_folder, const std::string& kind_title,
                           const std::string& kind_extension, bool for_saving, const std::string& name)
{
    open = true;
    saving = for_saving;
    title = kind_title;
    folder = in_folder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    extension = kind_extension;
    typed = name;
    fresh = !typed.empty();
    confirm_replace = false;
    hovered_button = 0;
    list.first = 0;
    refresh();
    list.marked = list.find(typed);
    list.reveal(list.marked);
}

void ed_file_picker::refresh()
{
    list.items.clear();
    files.clear();
    list.hovered = -1;
    problem.clear();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        problem = saving ? "The folder will be made when you save." : "The folder " + folder + " does not exist.";
        return;
    }
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string file = it->path().filename().string();
        if (file.size() <= extension.size() || file[0] == '.' ||
            file.compare(file.size() - extension.size(), extension.size(), extension) != 0)
            continue;
        std::string bare = file.substr(0, file.size() - extension.size());
        // Only names the picker itself could have written: a dotted one reduces to another.
        if (bare.find('.') == std::string::npos)
            files.push_back(bare);
    }
    if (ec)
        problem = "The folder " + folder + " cannot be read.";
    std::sort(files.begin(), files.end());
    for (const std::string& f : files)
        list.items.push_back(ed_utf8_to_latin1(f));
}

void ed_file_picker::point(float x, float y)
{
    list.point(x, y);
    hovered_button = ed_picker_ok_button.contains(x, y) ? 1 : ed_picker_cancel_button.contains(x, y) ? 2 : 0;
}

ed_pick ed_file_picker::press(float x, float y, bool double_click)
{
    point(x, y);
    if (hovered_button == 1)
        return finish();
    if (hovered_button == 2)
        return cancel();
    int32_t row = list.press(x, y);
    if (row >= 0) {
        typed = list.items[size_t(row)];
        fresh = true;
        list.marked = row;
        confirm_replace = false;
        problem.clear();
        if (double_click)
            return finish();
    }
    return {};
}

ed_pick ed_file_picker::key(uint32_t vk)
{
    if (vk == vk_escape)
        return cancel();
    if (vk == vk_return)
        return finish();
    if (vk == vk_back) {
        if (fresh)
            typed.clear();
        else if (!typed.empty())
            typed.pop_back();
        fresh = false;
        confirm_replace = false;
        return {};
    }
    int32_t step = vk == vk_up ? -1 : vk == vk_down ? 1 : vk == vk_page_up ? -list.rows_shown()
                                                   : vk == vk_page_down ? list.rows_shown() : 0;
    if (step != 0 && list.size() > 0) {
        int32_t at = list.marked < 0 ? (step > 0 ? 0 : list.size() - 1)
                                     : std::clamp(list.marked + step, 0, list.size() - 1);
        list.marked = at;
        list.reveal(at);
        typed = list.items[size_t(at)];
        fresh = true;
        confirm_replace = false;
    }
    return {};
}

void ed_file_picker::character(uint32_t latin1)
{
    if (latin1 < 32 || latin1 > 255)
        return;
    if (fresh)
        typed.clear();
    fresh = false;
    if (typed.size() >= ed_picker_name_max)
        return;
    typed += char(latin1);
    confirm_replace = false;
    list.marked = list.find(typed);
    list.reveal(list.marked);
}

ed_pick ed_file_picker::cancel()
{
    open = false;
    ed_pick out;
    out.kind = ed_pick::cancelled;
    return out;
}

ed_pick ed_file_picker::finish()
{
    std::string name = ed_reduce_name(typed);
    if (!ed_name_usable(name, problem))
        return {};
    // A listed file keeps its own name, whatever characters it has beyond Latin-1.
    bool listed = list.marked >= 0 && size_t(list.marked) < files.size() && list.items[size_t(list.marked)] == typed;
    name = listed ? files[size_t(list.marked)] : ed_latin1_to_utf8(name);
    std::string path = folder + name + extension;
    std::error_code ec;
    bool exists = fs::exists(path, ec);
    if (!saving && !exists) {
        problem = "There is no " + name + extension + " here.";
        return {};
    }
    if (saving && exists && !confirm_replace) {
        confirm_replace = true;
        problem = name + extension + " exists: Enter or OK again replaces it.";
        return {};
    }
    open = false;
    problem.clear();
    ed_pick out;
    out.kind = ed_pick::chosen;
    out.path = path;
    out.name = name;
    return out;
}
