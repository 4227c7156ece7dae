#pragma once
// The computation of the Oper statement: integer arithmetic with 32-bit wrap-around,
// floating-point division, a random range, character repetition, concatenation, length and
// equality. Operand classification and storing the result are the interpreter's.
#include <cstddef>
#include <random>
#include <string>

namespace quorvex::script {

// An operand's text after classification: variable value, number as written, or string
// without its quotes. `quoted` marks a quoted string (also a variable holding one).
struct OperOperand {
    std::string text;
    bool quoted = false;
};

enum class OperFailure {
    None,
    StringOperand,  // a quoted string with codes 0-4 or 6: "Ошибка операции!"
    NotANumber,     // an operand that codes 0-4 and 6-8 need as an integer
    DivisionByZero, // codes 3, 4 and 6
    TooLong,        // the result text would exceed kMaxOperResultLength
};

struct OperResult {
    bool store = false; // false for codes 11 and above, and on failure
    std::string value;
    OperFailure failure = OperFailure::None;
    std::string badText; // the operand text that is not a number
};

// A variable's text is bounded so that repetition (code 8) or repeated concatenation (code 5)
// cannot exhaust memory: a longer result ends the run with a message instead.
constexpr std::size_t kMaxOperResultLength = 1000000;

using OperRandom = std::mt19937;

[[nodiscard]] OperResult computeOper(const OperOperand& a, const OperOperand& b, int code,
                                     OperRandom& random);

} // namespace quorvex::script
