// The editors' shared pieces: the list box, the file picker, the dialogs, the undo history
// and the autosave.
#include "app/input_codes.h"
#include "editors/common/autosave.h"
#include "editors/common/dialog.h"
#include "editors/common/file_picker.h"
#include "editors/common/history.h"
#include "editors/common/list_box.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

namespace {

TEST(editor_list_box, rows_hover_choose_and_scroll_by_bar_and_thumb)
{
    ed_list_box list({2, 2, 32, 12}, 1.0f);  // ten rows
    for (int i = 0; i < 25; ++i)
        list.items.push_back("item" + std::to_string(i));
    ASSERT_EQ(list.rows_shown(), 10);
    ASSERT_TRUE(list.scrolls());
    EXPECT_EQ(list.press(5, 4.5f), 2);
    list.point(5, 1.9f);  // above the list
    EXPECT_EQ(list.hovered, -1);
    // A press on the bar below the thumb pages down; the thumb can be dragged to the end.
    ed_rect bar = list.bar_rect();
    EXPECT_EQ(list.press(bar.left + 0.5f, 11.5f), -1);
    EXPECT_EQ(list.first, 10);
    EXPECT_EQ(list.press(5, 2.5f), 10);
    ed_rect thumb = list.thumb_rect();
    list.press(bar.left + 0.5f, (thumb.top + thumb.bottom) / 2);
    list.point(bar.left + 0.5f, 100.0f);
    EXPECT_EQ(list.first, 15);  // clamped: the last page shows the last row
    list.release();
    list.reveal(3);
    EXPECT_EQ(list.first, 3);
    // A short list has no bar: its whole width is rows.
    ed_list_box short_list({2, 2, 32, 12}, 1.0f);
    short_list.items = {"a"};
    EXPECT_EQ(short_list.press(31.5f, 2.5f), 0);
}

TEST(editor_file_picker, names_reduce_to_bare_files_of_the_folder)
{
    EXPECT_EQ(ed_reduce_name("levels/My.Level.LEVL.txt"), "My");
    EXPECT_EQ(ed_reduce_name("..\\Base\\levels\\Ledge"), "Ledge");
    EXPECT_EQ(ed_reduce_name(".hidden"), "");
    std::string why;
    EXPECT_TRUE(ed_name_usable("Zoë's level 2", why));
    for (const char* bad : {"", "a:b", "a|b", "what?", "trailing ", "tab\there"})
        EXPECT_FALSE(ed_name_usable(bad, why)) << bad;
    EXPECT_FALSE(ed_name_usable(std::string(65, 'x'), why));
}

TEST(editor_file_picker, lists_its_kind_opens_what_exists_and_asks_before_replacing)
{
    test_scratch_dir dir;
    for (const char* f : {"B.LEVL.txt", "A.LEVL.txt", "C.BTYP.txt", ".D.LEVL.txt", "E.x.LEVL.txt"})
        test_write_text(dir.file(f), "nodes {}");
    ed_file_picker p;
    p.begin(dir.path.string(), "Level", ".LEVL.txt", false, "");
    EXPECT_EQ(p.list.items, (std::vector<std::string>{"A", "B"}));

    // Open: keys walk the list into the field; a name that is not there is refused.
    p.key(vk_down);
    p.key(vk_down);
    EXPECT_EQ(p.typed, "B");
    p.typed = "Nope";
    EXPECT_EQ(p.key(vk_return).kind, ed_pick::none);
    EXPECT_TRUE(p.open);
    EXPECT_FALSE(p.problem.empty());
    p.typed.clear();
    for (char ch : std::string("levels/A.LEVL.txt"))
        p.character(uint32_t(uint8_t(ch)));
    ed_pick opened = p.key(vk_return);
    ASSERT_EQ(opened.kind, ed_pick::chosen);
    EXPECT_EQ(opened.path, dir.file("A.LEVL.txt"));
    EXPECT_FALSE(p.open);

    // Save: over an existing file it asks once; a new name goes straight through.
    p.begin(dir.path.string(), "Level", ".LEVL.txt", true, "B");
    EXPECT_EQ(p.key(vk_return).kind, ed_pick::none);
    EXPECT_TRUE(p.confirm_replace);
    EXPECT_EQ(p.key(vk_return).kind, ed_pick::chosen);
    p.begin(dir.path.string(), "Level", ".LEVL.txt", true, "Fresh");
    EXPECT_EQ(p.press(ed_picker_ok_button.left + 1, ed_picker_ok_button.top + 1, false).kind, ed_pick::chosen);
    // Escape cancels and chooses nothing; so does the Cancel button.
    p.begin(dir.path.string(), "Level", ".LEVL.txt", true, "X");
    EXPECT_EQ(p.key(vk_escape).kind, ed_pick::cancelled);
    p.begin(dir.path.string(), "Level", ".LEVL.txt", false, "A");
    EXPECT_EQ(p.press(ed_picker_cancel_button.left + 1, ed_picker_cancel_button.top + 1, false).kind,
              ed_pick::cancelled);
    // A folder that is missing is said, not a crash; saving will make it.
    p.begin(dir.file("none"), "Level", ".LEVL.txt", false, "");
    EXPECT_TRUE(p.list.items.empty());
    EXPECT_NE(p.problem.find("does not exist"), std::string::npos);
}

TEST(editor_dialog, keys_and_clicks_answer_and_close)
{
    ed_dialog d;
    d.ask_save("Leaving", 7);
    EXPECT_EQ(d.key('X'), ed_answer::none);
    EXPECT_TRUE(d.open);
    EXPECT_EQ(d.key(vk_escape), ed_answer::cancel);
    EXPECT_FALSE(d.open);
    d.ask_yes_no("Create New Body?", "Message Box Title", 1);
    EXPECT_EQ(d.key('N'), ed_answer::no);
    d.ask_yes_no("Create New Body?", "Message Box Title", 1);
    ed_rect yes = d.button_rect(0);
    EXPECT_EQ(d.press(yes.left + 0.5f, yes.top + 0.5f), ed_answer::yes);
    d.message(std::string(300, 'w') + " end");
    EXPECT_GT(d.lines.size(), 3u);
    for (const std::string& line : d.lines)
        EXPECT_LE(int32_t(line.size()), ed_dialog_columns);
    EXPECT_EQ(d.key(vk_return), ed_answer::ok);
}

TEST(editor_history, undo_redo_and_the_modified_mark_follow_the_saved_state)
{
    ed_history h;
    h.reset({"a", ""});
    EXPECT_FALSE(h.modified());
    EXPECT_FALSE(h.record({"a", ""}));  // nothing changed
    h.record({"b", ""});
    h.record({"c", ""});
    EXPECT_TRUE(h.modified());
    h.mark_saved({"c", "f"});
    h.record({"c", "f"});  // the save names the file
    EXPECT_FALSE(h.modified());
    EXPECT_EQ(h.undo()->text, "c");
    EXPECT_EQ(h.undo()->text, "b");
    EXPECT_TRUE(h.modified());
    EXPECT_EQ(h.redo()->text, "c");
    EXPECT_EQ(h.redo()->file, "f");
    EXPECT_FALSE(h.modified());
    EXPECT_EQ(h.redo(), nullptr);
    h.undo();
    h.record({"d", "f"});  // a new edit drops what could have been redone
    EXPECT_FALSE(h.can_redo());
    h.limit = 3;
    for (char c = 'e'; c < 'k'; ++c)
        h.record({std::string(1, c), "f"});
    EXPECT_EQ(h.states.size(), 3u);
    EXPECT_EQ(h.current().text, "j");
}

TEST(editor_autosave, keeps_the_work_and_its_file_and_refuses_other_files)
{
    test_scratch_dir dir;
    ed_autosave a(dir.file("level.autosave"), "tamble level editor autosave");
    ed_snapshot s{"nodes {\n}\nline two\n", "levels/Mine.LEVL.txt"}, back;
    EXPECT_FALSE(a.read(back));
    EXPECT_FALSE(a.due(59.9));
    EXPECT_TRUE(a.due(0.2));
    ASSERT_TRUE(a.write(s));
    ASSERT_TRUE(a.read(back));
    EXPECT_EQ(back, s);
    ed_autosave other(dir.file("level.autosave"), "tamble body editor autosave");
    EXPECT_FALSE(other.read(back));
    a.remove();
    EXPECT_FALSE(a.read(back));
}

}  // namespace
