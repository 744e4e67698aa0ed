// The script text parser: a recursive descent over entries "key.path value", where a
// value is a nested block, a quoted string, a number or a bare word.
#include "data/script_text.h"

#include <algorithm>
#include <cfloat>

namespace {

inline bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

inline bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline bool is_ident_start(char c)
{
    return is_letter(c) || c == '_' || c == '#';
}

inline bool is_ident_char(char c)
{
    return is_letter(c) || is_digit(c) || c == '_' || c == '#' || c == '\\';
}

class text_reader {
public:
    text_reader(script_symbol_table* table, const char* text) : symbols(table), p(text) {}

    script_symbol_table* symbols;
    const char* p;  // on failure, left at the byte where parsing stopped

    void skip_space()
    {
        while (is_space(*p))
            ++p;
    }

    // An identifier at p, interned; 0 and p unchanged when none starts there. (An
    // identifier can also intern to 0, as "#0" does; callers treat both alike.)
    bool read_identifier(script_id& id)
    {
        if (!is_ident_start(*p))
            return false;
        const char* begin = p;
        do
            ++p;
        while (is_ident_char(*p));
        id = symbols->intern(begin, p);
        return true;
    }

    // Entries up to a '}', ']' or the end, which is left unconsumed. `depth` is the
    // number of keys from the parser's target to `node`.
    bool sequence(const script_handle& node, int depth)
    {
        // Counts every '~' of this sequence, wherever it stands in a key path.
        script_id anonymous = 0;
        for (;;) {
            skip_space();
            char c = *p;
            if (c == '}' || c == ']' || c == '\0')
                return true;

            script_handle target = node;
            int target_depth = depth;
            for (;;) {
                script_id key;
                c = *p;
                if (c == '~') {
                    key = anonymous++;
                    ++p;
                } else if (is_digit(c)) {
                    uint32_t value = 0;
                    do
                        value = value * 10u + uint32_t(*p++ - '0');
                    while (is_digit(*p));
                    key = script_id(value);
                } else if (!read_identifier(key)) {
                    return false;
                }
                if (++target_depth > script_max_depth)
                    return false;
                target = target.make(key);
                if (*p != '.')
                    break;
                ++p;
            }

            skip_space();
            if (!value(target, target_depth))
                return false;
        }
    }

    bool value(const script_handle& target, int depth)
    {
        char c = *p;
        if (c == '{') {
            ++p;
            target.make_block();
            if (!sequence(target, depth))
                return false;
            if (*p != '}')
                return false;
            ++p;
            return true;
        }
        if (c == '"') {
            const char* begin = ++p;
            while (*p != '"') {
                if (*p == '\0')
                    return false;
                ++p;
            }
            target.set_string(begin, p);
            ++p;
            return true;
        }
        if (is_digit(c) || c == '-' || c == '.') {
            number(target);
            return true;
        }
        script_id id = 0;
        if (!read_identifier(id) || id == 0)
            return false;
        target.set_int(id);
        return true;
    }

    void number(const script_handle& target)
    {
        bool negative = false;
        if (*p == '-') {
            negative = true;
            ++p;
        }
        uint32_t whole = 0;
        while (is_digit(*p))
            whole = whole * 10u + uint32_t(*p++ - '0');
        if (*p != '.') {
            target.set_int(int32_t(negative ? 0u - whole : whole));
            return;
        }
        ++p;
        // Both rounded to single precision after each digit. Digits that would push
        // the scale past the largest float are skipped: they cannot change the value,
        // and counting them would turn it into inf / inf = NaN.
        float fraction = 0.0f;
        float scale = 1.0f;
        for (; is_digit(*p); ++p) {
            double next_scale = double(scale) * 10.0;
            if (next_scale > double(FLT_MAX))
                continue;
            fraction = float(double(fraction) * 10.0 + double(*p - '0'));
            scale = float(next_scale);
        }
        double value = double(int32_t(whole)) + double(fraction) / double(scale);
        target.set_real(float(negative ? -value : value));
    }
};

}  // namespace

bool script_parser::parse(const char* text)
{
    stop_offset = 0;
    stop_line = 0;
    if (!text || !target.exists() || !target.cell)
        return false;
    text_reader reader(target.symbols, text);
    // At top level a '}' or ']' ends the document too; the rest is not read.
    bool ok = reader.sequence(target, 0);
    stop_offset = size_t(reader.p - text);
    stop_line = 1 + int32_t(std::count(text, reader.p, '\n'));
    return ok;
}
