// The editors' entry.
#include "program/editor_entry.h"

#include "editors/body/body_editor_screen.h"
#include "editors/level/level_editor_screen.h"
#include "program/entry_stores.h"

namespace {

editor_options editor_options_from(const entry_options& entry, const char* argv0, entry_stores& stores)
{
    stores = entry_find_stores(entry, argv0);
    editor_options editor;
    editor.driver = entry.driver;
    editor.add_stores = [&stores](pak_system& pak, std::string& message) { return stores.add(pak, message); };
    editor.data_root = entry.data_roots.empty() ? "" : entry.data_roots.front();
    editor.data_roots = entry.data_roots;
    editor.archive = stores.archive;
    // The editors keep their files beside the configuration: in the per-user folder, or
    // in the folder of the file --config names.
    editor.user_folder = stores.own_folder;
    return editor;
}

}  // namespace

int level_editor_entry(const entry_options& entry, const char* argv0)
{
    entry_stores stores;
    return level_editor_main(editor_options_from(entry, argv0, stores));
}

int body_editor_entry(const entry_options& entry, const char* argv0)
{
    entry_stores stores;
    return bedit::body_editor_main(editor_options_from(entry, argv0, stores));
}
