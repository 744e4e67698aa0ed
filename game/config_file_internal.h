// Test seam of the safe save: a hook called at every point where a crash or a failing
// disk could interrupt it, so tests can kill a saving process there or make it fail.
#pragma once

// The points of one replacement of a file, in the order they are reached. A save with a
// good previous file passes them twice: once for the backup, once for the file itself.
enum config_write_point : int {
    write_point_opened = 0,    // the temporary file exists and is empty
    write_point_half_written,  // half of the bytes are in it
    write_point_written,       // all bytes written, not yet synced
    write_point_synced,        // synced and closed, not yet renamed
    write_point_renamed,       // renamed over the target, folder not yet synced
    write_point_done,          // the folder is synced
    write_point_count,
};

// Returns false to make the write fail at that point as a full disk would. Null: no hook.
using config_write_hook_t = bool (*)(int point);
void config_file_set_hook(config_write_hook_t hook);
