// The editors' dialogs: layout of the buttons, answers by click and by key.
#include "editors/common/dialog.h"

#include "app/input_codes.h"

#include <sstream>

const char* ed_answer_label(ed_answer a)
{
    switch (a) {
    case ed_answer::ok: return "OK";
    case ed_answer::yes: return "Yes";
    case ed_answer::no: return "No";
    case ed_answer::save: return "Save";
    case ed_answer::discard: return "Discard";
    case ed_answer::cancel: return "Cancel";
    case ed_answer::none: break;
    }
    return "";
}

std::vector<std::string> ed_wrap_text(const std::string& text, int32_t columns)
{
    std::vector<std::string> out;
    std::istringstream paragraphs(text);
    std::string paragraph;
    while (std::getline(paragraphs, paragraph)) {
        std::string line, word;
        std::istringstream words(paragraph);
        while (words >> word) {
            while (int32_t(word.size()) > columns) {
                if (!line.empty()) {
                    out.push_back(line);
                    line.clear();
                }
                out.push_back(word.substr(0, size_t(columns)));
                word.erase(0, size_t(columns));
            }
            if (!line.empty() && int32_t(line.size() + 1 + word.size()) > columns) {
                out.push_back(line);
                line.clear();
            }
            line += (line.empty() ? "" : " ") + word;
        }
        out.push_back(line);
    }
    return out;
}

void ed_dialog::show(const std::string& text, const std::string& title, std::vector<ed_answer> answers, int32_t why)
{
    open = true;
    caption = title;
    lines = ed_wrap_text(text, ed_dialog_columns);
    buttons = std::move(answers);
    hovered = -1;
    purpose = why;
}

void ed_dialog::message(const std::string& text, const std::string& title)
{
    show(text, title, {ed_answer::ok}, 0);
}

void ed_dialog::ask_yes_no(const std::string& text, const std::string& title, int32_t why)
{
    show(text, title, {ed_answer::yes, ed_answer::no}, why);
}

void ed_dialog::ask_save(const std::string& text, int32_t why)
{
    show(text, "Unsaved changes", {ed_answer::save, ed_answer::discard, ed_answer::cancel}, why);
}

float ed_dialog::keys_line_y() const
{
    return ed_dialog_text_y + float(lines.size()) * ed_dialog_line_height + 0.5f;
}

std::string ed_dialog::keys_line() const
{
    std::string out;
    for (size_t i = 0; i < buttons.size(); ++i) {
        std::string key = i == 0 ? "Enter" : i + 1 == buttons.size() ? "Esc" : std::string(1, ed_answer_label(buttons[i])[0]);
        if (i == 0 && buttons.size() > 1)
            key += " or " + std::string(1, ed_answer_label(buttons[i])[0]);
        out += (out.empty() ? "" : "    ") + key + ": " + ed_answer_label(buttons[i]);
    }
    return out;
}

ed_rect ed_dialog::panel() const
{
    float bottom = keys_line_y() + 1.5f + ed_dialog_button_h + 1.5f;
    return {ed_dialog_left, ed_dialog_top, ed_dialog_right, bottom};
}

ed_rect ed_dialog::button_rect(size_t i) const
{
    float gap = 1.0f, total = float(buttons.size()) * ed_dialog_button_w + float(buttons.size() - 1) * gap;
    float left = (ed_dialog_left + ed_dialog_right - total) / 2 + float(i) * (ed_dialog_button_w + gap);
    float top = keys_line_y() + 1.5f;
    return {left, top, left + ed_dialog_button_w, top + ed_dialog_button_h};
}

void ed_dialog::point(float x, float y)
{
    hovered = -1;
    for (size_t i = 0; i < buttons.size(); ++i)
        if (button_rect(i).contains(x, y))
            hovered = int32_t(i);
}

ed_answer ed_dialog::answer(ed_answer a)
{
    open = false;
    return a;
}

ed_answer ed_dialog::press(float x, float y)
{
    if (!open)
        return ed_answer::none;
    point(x, y);
    return hovered >= 0 ? answer(buttons[size_t(hovered)]) : ed_answer::none;
}

ed_answer ed_dialog::key(uint32_t vk)
{
    if (!open || buttons.empty())
        return ed_answer::none;
    if (vk == vk_return)
        return answer(buttons.front());
    if (vk == vk_escape)
        return answer(buttons.back());
    for (ed_answer a : buttons) {
        char letter = ed_answer_label(a)[0];
        if (vk == uint32_t(letter))
            return answer(a);
    }
    return ed_answer::none;
}
