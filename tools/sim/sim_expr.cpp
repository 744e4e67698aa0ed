// A recursive-descent reader of template formulas that evaluates as it reads.
#include "tools/sim/sim_expr.h"

#include <cmath>
#include <cstdlib>

namespace {

// Parentheses and signs nested deeper than this are refused: the reader recurses on them.
constexpr int max_depth = 64;

struct expr_reader {
    std::string_view text;
    const sim_expr_names& names;
    size_t at = 0;
    int depth = 0;
    std::string error;

    bool fail(const std::string& why)
    {
        if (error.empty())
            error = why + " at column " + std::to_string(at + 1);
        return false;
    }

    void blanks()
    {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
    }

    bool take(char c)
    {
        blanks();
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    }

    static bool name_char(char c, bool first)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || (!first && c >= '0' && c <= '9');
    }

    bool number(double& out)
    {
        size_t start = at;
        bool digits = false, point = false;
        for (; at < text.size(); ++at) {
            char c = text[at];
            if (c >= '0' && c <= '9')
                digits = true;
            else if (c == '.' && !point)
                point = true;
            else
                break;
        }
        if (!digits)
            return fail("a number without digits");
        out = std::strtod(std::string(text.substr(start, at - start)).c_str(), nullptr);
        return true;
    }

    bool call(const std::string& name, double& out)
    {
        std::vector<double> args;
        do {
            double v = 0;
            if (!expression(v))
                return false;
            args.push_back(v);
        } while (take(','));
        if (!take(')'))
            return fail("')' expected");
        size_t n = args.size();
        if ((name == "sqrt" || name == "abs" || name == "sin" || name == "cos") && n == 1) {
            out = name == "sqrt" ? std::sqrt(args[0])
                  : name == "abs" ? std::fabs(args[0])
                  : name == "sin" ? std::sin(args[0])
                                  : std::cos(args[0]);
            return true;
        }
        if ((name == "min" || name == "max") && n >= 1) {
            out = args[0];
            for (double a : args)
                out = name == "min" ? std::fmin(out, a) : std::fmax(out, a);
            return true;
        }
        return fail("no function " + name + " of " + std::to_string(n) + " arguments");
    }

    bool factor(double& out)
    {
        if (++depth > max_depth)
            return fail("nested too deeply");
        bool ok = factor_body(out);
        --depth;
        return ok;
    }

    bool factor_body(double& out)
    {
        blanks();
        if (at >= text.size())
            return fail("the formula ends early");
        char c = text[at];
        if (c == '-') {
            ++at;
            if (!factor(out))
                return false;
            out = -out;
            return true;
        }
        if (c == '(') {
            ++at;
            if (!expression(out))
                return false;
            return take(')') || fail("')' expected");
        }
        if ((c >= '0' && c <= '9') || c == '.')
            return number(out);
        if (!name_char(c, true))
            return fail(std::string("unexpected '") + c + "'");
        size_t start = at;
        while (at < text.size() && name_char(text[at], false))
            ++at;
        std::string name(text.substr(start, at - start));
        if (take('('))
            return call(name, out);
        for (const auto& [n, v] : names)
            if (n == name) {
                out = v;
                return true;
            }
        return fail("no parameter " + name);
    }

    bool term(double& out)
    {
        if (!factor(out))
            return false;
        for (;;) {
            double rhs = 0;
            if (take('*')) {
                if (!factor(rhs))
                    return false;
                out *= rhs;
            } else if (take('/')) {
                if (!factor(rhs))
                    return false;
                out /= rhs;
            } else {
                return true;
            }
        }
    }

    bool expression(double& out)
    {
        if (!term(out))
            return false;
        for (;;) {
            double rhs = 0;
            if (take('+')) {
                if (!term(rhs))
                    return false;
                out += rhs;
            } else if (take('-')) {
                if (!term(rhs))
                    return false;
                out -= rhs;
            } else {
                return true;
            }
        }
    }
};

}  // namespace

bool sim_eval_expr(std::string_view text, const sim_expr_names& names, double& out, std::string& error)
{
    expr_reader r{text, names, 0, 0, {}};
    double v = 0;
    if (!r.expression(v)) {
        error = r.error;
        return false;
    }
    r.blanks();
    if (r.at != text.size()) {
        r.fail("unexpected '" + std::string(1, text[r.at]) + "'");
        error = r.error;
        return false;
    }
    if (!std::isfinite(v)) {
        error = "'" + std::string(text) + "' gives no finite number";
        return false;
    }
    out = v;
    return true;
}
