#include "editors/common/document.h"

#include "app/file_io.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string ed_document::label(const std::string& path, const char* kind)
{
    return path.empty() ? std::string("(new ") + kind + ")" : fs::path(path).filename().string();
}

void ed_document::loaded(const std::string& before, const std::string& path, const std::string& text)
{
    history.record({before, file});
    file = path;
    ed_snapshot now{text, file};
    history.record(now);
    history.mark_saved(now);
}

bool ed_document::write(const std::string& path, const std::string& text, std::string& error)
{
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    if (!file_write_replacing(path, text.data(), text.size(), &error))
        return false;
    for (ed_snapshot& state : history.states)
        if (state.file == file)
            state.file = path;
    file = path;
    ed_snapshot now{text, file};
    history.record(now);
    history.mark_saved(now);
    autosave.remove();
    autosave.written();
    return true;
}

const ed_snapshot* ed_document::undo()
{
    const ed_snapshot* s = history.undo();
    if (s)
        file = s->file;
    return s;
}

const ed_snapshot* ed_document::redo()
{
    const ed_snapshot* s = history.redo();
    if (s)
        file = s->file;
    return s;
}

void ed_document::offer_autosave(ed_dialog& dialog, const char* editor_name, const char* kind,
                                 int32_t purpose) const
{
    ed_snapshot saved;
    if (!autosave.read(saved))
        return;
    dialog.ask_yes_no(std::string("The ") + editor_name + " did not close cleanly last time. Its unsaved work on " +
                          label(saved.file, kind) + " was kept. Restore it?",
                      "Restore unsaved work", purpose);
}

bool ed_document::take_autosave(bool yes, ed_snapshot& saved) const
{
    if (yes && autosave.read(saved))
        return true;
    autosave.remove();
    return false;
}

void ed_document::restored(const std::string& text, const std::string& path)
{
    file = path;
    history.reset({text, file});
    history.mark_saved({std::string(), file});
}

bool ed_document::autosave_step(double seconds, std::string& error)
{
    bool ok = true;
    if (autosave.due(seconds)) {
        if (modified())
            ok = autosave.write(history.current(), &error);
        autosave.written();
    }
    return ok;
}

void ed_document::close_forced()
{
    if (modified())
        autosave.write(history.current());
    else
        autosave.remove();
}
