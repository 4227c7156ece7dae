#pragma once
// The flow blocks of a script run: While and If records keyed by the file position of their
// line, with the condition parsed once and evaluated at every encounter.
#include <string>

namespace quorvex::script {

enum class CompareOperator { Less, LessOrEqual, Equal, Greater, GreaterOrEqual };

// A condition operand: a variable (its index, read at every evaluation) or a number.
struct ConditionOperand {
    int variableIndex = -1;
    std::string text; // the variable's name or the number's text
};

struct Condition {
    CompareOperator op = CompareOperator::Less;
    ConditionOperand left;
    ConditionOperand right;
};

struct IfBlock {
    long ifPosition = -1; // key
    long thenPosition = -1;
    bool thenSeen = false;
    long elsePosition = -1;
    bool elseSeen = false;
    int depth = -1;
    Condition condition;
    bool result = false;
};

enum LoopState { LoopNew = 0, Looping = 1, LoopFinished = 3 };

struct WhileBlock {
    long whilePosition = -1; // key
    long endWhilePosition = -1;
    int loopState = LoopNew;
    Condition condition;
    bool result = false;
};

} // namespace quorvex::script
