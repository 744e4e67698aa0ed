// The editors' own dialogs, drawn in the window so that the test driver answers them like
// any other input: a message with OK, a Yes/No question, and the question asked before
// unsaved work would be dropped (Save / Discard / Cancel). Keys answer as well as clicks:
// Enter the first button, Escape the last (or the only one); Y, N, S and D their buttons.
#pragma once

#include "editors/common/ed_rect.h"

#include <cstdint>
#include <string>
#include <vector>

enum class ed_answer { none, ok, yes, no, save, discard, cancel };

// The panel and its rows, in interface units: the caption, the message, a line saying
// which keys answer, then the buttons; the panel grows with the message.
constexpr float ed_dialog_left = 4, ed_dialog_right = 60, ed_dialog_top = 18;
constexpr float ed_dialog_text_x = 6, ed_dialog_text_y = 20.5f;
constexpr float ed_dialog_line_height = 1.3f;
// Characters per line of the message before it wraps.
constexpr int32_t ed_dialog_columns = 78;
constexpr float ed_dialog_button_h = 2.5f, ed_dialog_button_w = 10;

class ed_dialog {
public:
    bool open = false;
    std::string caption;
    std::vector<std::string> lines;    // the message, wrapped
    std::vector<ed_answer> buttons;    // left to right
    int32_t hovered = -1;
    // What the question is for, so the editor knows what to do with the answer.
    int32_t purpose = 0;

    void message(const std::string& text, const std::string& title = "Tamble");
    void ask_yes_no(const std::string& text, const std::string& title, int32_t why);
    void ask_save(const std::string& text, int32_t why);
    void close() { open = false; }

    ed_rect panel() const;
    // The line under the message that names the keys, and where it stands.
    std::string keys_line() const;
    float keys_line_y() const;
    ed_rect button_rect(size_t i) const;
    void point(float x, float y);
    // The answer given, or none; the dialog closes when it is answered.
    ed_answer press(float x, float y);
    ed_answer key(uint32_t vk);

private:
    void show(const std::string& text, const std::string& title, std::vector<ed_answer> answers, int32_t why);
    ed_answer answer(ed_answer a);
};

// The label of a button.
const char* ed_answer_label(ed_answer a);
// Splits text at spaces (and at its line breaks) into lines of at most `columns` characters.
std::vector<std::string> ed_wrap_text(const std::string& text, int32_t columns);
