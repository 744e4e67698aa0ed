// Fuzzes the driver's script parser and its key-name lookup with arbitrary bytes.
#include "app/driver_script.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    driver_script script;
    std::string error;
    if (driver_parse_script(text, script, error)) {
        int64_t last = 0;
        for (const driver_event& e : script.events) {
            if (e.frame < last)
                __builtin_trap();
            last = e.frame;
        }
    }
    driver_key_code(text.substr(0, 16));
    return 0;
}
