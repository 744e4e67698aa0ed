// The arithmetic of the generator's templates: positions, lengths and boxes written as
// short formulas of a template's parameters, so that a designer reads "x0 + len * 0.5"
// where the generator reads a number.
//
//   expression := term (('+' | '-') term)*
//   term       := factor (('*' | '/') factor)*
//   factor     := NUMBER | NAME | NAME '(' expression (',' expression)* ')' | '(' expression ')'
//               | '-' factor
//
// Names are the template's parameters (and whatever else the caller binds); the functions
// are sqrt, abs, sin, cos (radians), min and max. A result that is not a finite number (a
// root of a negative, a division by zero) is an error, as is anything left over.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

using sim_expr_names = std::vector<std::pair<std::string, double>>;

// Evaluates `text` with the values of `names`. False, with the reason in `error`, when the
// text is not an expression of the grammar, names what is not bound, or gives no finite
// number.
bool sim_eval_expr(std::string_view text, const sim_expr_names& names, double& out, std::string& error);
