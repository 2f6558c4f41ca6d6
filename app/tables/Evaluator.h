#pragma once

// Evaluator of numeric entries: every number the user types is an arithmetic
// expression, evaluated to one extended-precision value when committed.

#include <stdexcept>
#include <string>

// Input error with a message meant for the user as it stands. Every editor
// catches exactly this kind and shows the message.
class EAssignError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Value of an entry such as "2*(3+4)", "sin(pi/2)", "$FF" or "5!".
// Operators, highest precedence first, left to right within a level:
//   ( )   ^   * / % &   + - |   =
// Throws EAssignError for a malformed entry and for an arithmetic fault
// (division by zero, a logarithm of a negative number, ...).
long double Evaluate(const std::string& text);
