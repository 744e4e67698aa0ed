// The editors' folders.
#include "editors/common/editor_options.h"

namespace {

std::string root_of(const editor_options& options)
{
    const std::string& root = options.data_root.empty() ? options.user_folder : options.data_root;
    if (root.empty())
        return "./";
    return root.back() == '/' ? root : root + '/';
}

}  // namespace

std::string ed_work_folder(const editor_options& options, const char* kind)
{
    return root_of(options) + kind + "/";
}

std::string ed_settings_path(const editor_options& options)
{
    return root_of(options) + "editor.txt";
}
