// Test seam of the replacing write: a hook called at every point where a crash or a
// failing disk could interrupt it, so tests can kill a writing process there or make the
// write fail.
#pragma once

// The points of one replacement of a file, in the order they are reached.
enum file_write_point : int {
    file_write_opened = 0,    // the temporary file exists and is empty
    file_write_half_written,  // half of the bytes are in it
    file_write_written,       // all bytes written, not yet synced
    file_write_synced,        // synced and closed, not yet renamed
    file_write_renamed,       // renamed over the target, folder not yet synced
    file_write_done,          // the folder is synced
    file_write_point_count,
};

// Returns false to make the write fail at that point as a full disk would. Null: no hook.
using file_write_hook_t = bool (*)(int point);
void file_io_set_hook(file_write_hook_t hook);
