#pragma once
// Arithmetic expressions as JavaScript evaluates them: decimal literals with
// fraction and exponent, + - * / %, unary signs and parentheses, in IEEE
// doubles, printed as JavaScript prints numbers. Anything else fails; the
// text is never executed.
#include <optional>
#include <string>
#include <string_view>

namespace penvox::arithmetic {

// The value of an expression (GBK bytes), or nothing when it is not arithmetic
// or too deep or long to evaluate safely.
std::optional<double> evaluate(std::string_view gbkExpression);
// JavaScript's Number-to-String: shortest round-trip digits, exponent form at
// 1e21 and above or below 1e-6, "Infinity", "-Infinity", "NaN", "0" for -0.
std::string formatNumber(double value);
// The result text the editor receives: formatNumber of the value, or empty on failure.
std::string calculate(std::string_view gbkExpression);

}  // namespace penvox::arithmetic
