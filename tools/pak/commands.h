// Sub-commands of tamble-pak. Each takes the arguments after its own name
// and returns the process exit status.
#pragma once

#include <string>

struct pak_tool_command {
    const char* name;
    const char* usage;  // one line per option, shown by --help
    int (*run)(int argc, char** argv);
};

// Reports a failure on stderr as "tamble-pak: COMMAND: MESSAGE" ("tamble-pak: MESSAGE"
// without a command) and returns `status`, the exit status to give.
int pak_tool_fail(const char* command, const std::string& message, int status = 1);

// The table of every sub-command, terminated by an entry with a null name.
extern const pak_tool_command pak_tool_commands[];

// Script text and binary form (cmd_script.cpp).
int cmd_dump_script(int argc, char** argv);
int cmd_dump_config(int argc, char** argv);
int cmd_make_config(int argc, char** argv);

// Archives and directory stores (cmd_archive.cpp, cmd_build.cpp).
int cmd_list(int argc, char** argv);
int cmd_cat(int argc, char** argv);
int cmd_extract(int argc, char** argv);
int cmd_build(int argc, char** argv);

// Sound samples: WAVE to "SAMP" and back (cmd_sound.cpp).
int cmd_sound(int argc, char** argv);

// PNG to "IMAG" chunk file and back (cmd_image.cpp).
int cmd_image(int argc, char** argv);
