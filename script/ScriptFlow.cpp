// While / EndWhile and If / Then / Else / EndIf: blocks keyed by the file position of their
// While or If line, stacks of block indices, textual searches for "%Else" and "%EndIf".
#include "script/Interpreter.h"

#include "script/RunEnding.h"

#include "script/TextFunctions.h"

#include <array>
#include <string_view>

namespace quorvex::script {

namespace {

struct OperatorText {
    std::string_view text;
    CompareOperator op;
};

// Tried in this order: the two-character operators first.
constexpr std::array kOperators{
    OperatorText{"<=", CompareOperator::LessOrEqual},    OperatorText{"==", CompareOperator::Equal},
    OperatorText{">=", CompareOperator::GreaterOrEqual}, OperatorText{"<", CompareOperator::Less},
    OperatorText{">", CompareOperator::Greater},
};

bool compare(std::int32_t left, CompareOperator op, std::int32_t right)
{
    switch (op) {
    case CompareOperator::Less:
        return left < right;
    case CompareOperator::LessOrEqual:
        return left <= right;
    case CompareOperator::Equal:
        return left == right;
    case CompareOperator::Greater:
        return left > right;
    case CompareOperator::GreaterOrEqual:
        return left >= right;
    }
    return false;
}

template <typename Block, typename Key>
int findBlock(const std::vector<Block>& blocks, Key key, long position)
{
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (blocks[i].*key == position)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

// «(i < 10)»: the first and last characters are dropped, then the first operator found splits.
void Interpreter::parseCondition(const std::string& rest, LineKind kind, Condition& condition)
{
    const std::string trimmed = trimText(rest);
    const std::string text =
        trimmed.size() >= 2 ? trimmed.substr(1, trimmed.size() - 2) : std::string();
    const OperatorText* found = nullptr;
    std::size_t at = std::string::npos;
    for (const OperatorText& candidate : kOperators) {
        at = text.find(candidate.text);
        if (at != std::string::npos) {
            found = &candidate;
            break;
        }
    }
    if (found == nullptr)
        failAtOnce(kind == LineKind::While ? "Некорректная операция в операторе While - ошибка!"
                                           : "Некорректная операция в операторе If - ошибка!");
    condition.op = found->op;
    const std::string sides[2] = {trimText(text.substr(0, at)),
                                  trimText(text.substr(at + found->text.size()))};
    ConditionOperand* operands[2] = {&condition.left, &condition.right};
    for (int i = 0; i < 2; ++i) {
        const int variable = findVariable(sides[i]);
        if (variable < 0 && !IsNumb(sides[i]))
            failAtOnce("Ошибка переменной!");
        *operands[i] = {variable, sides[i]};
    }
}

bool Interpreter::evaluate(const Condition& condition)
{
    auto valueOf = [this](const ConditionOperand& operand) {
        return integerOf(operand.variableIndex >= 0
                             ? m_variables[static_cast<std::size_t>(operand.variableIndex)].Value
                             : operand.text);
    };
    const std::int32_t left = valueOf(condition.left);
    const std::int32_t right = valueOf(condition.right);
    return compare(left, condition.op, right);
}

void Interpreter::beginWhile(const std::string& rest)
{
    int index = findBlock(m_whileBlocks, &WhileBlock::whilePosition, m_linePosition);
    const bool push = index < 0 || m_whileBlocks[index].loopState == LoopFinished;
    if (index < 0) {
        if (m_whileBlocks.size() >= static_cast<std::size_t>(kMaxWhileBlocks))
            failNamingLine("Ошибка - больше " + std::to_string(kMaxWhileBlocks) +
                           " операторов While.");
        WhileBlock block;
        block.whilePosition = m_linePosition;
        parseCondition(rest, LineKind::While, block.condition);
        m_whileBlocks.push_back(block);
        index = static_cast<int>(m_whileBlocks.size()) - 1;
    }
    if (push) {
        if (m_whileDepth + 1 >= kMaxNestingDepth)
            failNamingLine("Ошибка - вложенность While больше " + std::to_string(kMaxNestingDepth) +
                           ".");
        m_whileStack[static_cast<std::size_t>(++m_whileDepth)] = index;
    }
    WhileBlock& block = m_whileBlocks[static_cast<std::size_t>(index)];
    block.result = evaluate(block.condition);
    // False on the first encounter: the EndWhile is not known yet, the body runs once.
    if (!block.result && block.endWhilePosition >= 0)
        jumpTo(block.endWhilePosition);
}

void Interpreter::endWhile()
{
    if (m_whileDepth < 0)
        failNamingLine("Ошибка - EndWhile без While.");
    WhileBlock& block = m_whileBlocks[static_cast<std::size_t>(
        m_whileStack[static_cast<std::size_t>(m_whileDepth)])];
    if (block.endWhilePosition < 0)
        block.endWhilePosition = m_linePosition;
    if (block.result) {
        jumpTo(block.whilePosition);
        block.loopState = Looping;
    } else {
        block.loopState = LoopFinished;
        --m_whileDepth;
    }
}

void Interpreter::beginIf(const std::string& rest)
{
    int index = findBlock(m_ifBlocks, &IfBlock::ifPosition, m_linePosition);
    if (index < 0) {
        if (m_ifBlocks.size() >= static_cast<std::size_t>(kMaxIfBlocks))
            failNamingLine("Ошибка - больше " + std::to_string(kMaxIfBlocks) + " операторов If.");
        if (m_ifDepth + 1 >= kMaxNestingDepth)
            failNamingLine("Ошибка - вложенность If больше " + std::to_string(kMaxNestingDepth) +
                           ".");
        IfBlock block;
        block.ifPosition = m_linePosition;
        parseCondition(rest, LineKind::If, block.condition);
        block.depth = ++m_ifDepth;
        m_ifBlocks.push_back(block);
        index = static_cast<int>(m_ifBlocks.size()) - 1;
    } else {
        m_ifDepth = m_ifBlocks[static_cast<std::size_t>(index)].depth;
    }
    m_ifStack[static_cast<std::size_t>(m_ifDepth)] = index;

    IfBlock& block = m_ifBlocks[static_cast<std::size_t>(index)];
    block.result = evaluate(block.condition);
    if (block.result) {
        if (block.thenSeen && block.thenPosition >= 0)
            jumpTo(block.thenPosition);
    } else if (block.elseSeen && block.elsePosition >= 0) {
        jumpTo(block.elsePosition);
    } else {
        m_pendingSearch = "%Else";
        m_searchPending = true;
    }
}

IfBlock& Interpreter::topIfBlock(const char* keyword)
{
    if (m_ifDepth < 0)
        failNamingLine(std::string("Ошибка - ") + keyword + " без If.");
    return m_ifBlocks[static_cast<std::size_t>(m_ifStack[static_cast<std::size_t>(m_ifDepth)])];
}

void Interpreter::thenBranch()
{
    IfBlock& block = topIfBlock("Then");
    block.thenSeen = true;
    if (block.thenPosition < 0)
        block.thenPosition = m_linePosition;
    if (!block.result) {
        m_pendingSearch = "%Else";
        m_searchPending = true;
    }
}

void Interpreter::elseBranch()
{
    IfBlock& block = topIfBlock("Else");
    block.elseSeen = true;
    if (block.elsePosition < 0)
        block.elsePosition = m_linePosition;
    if (block.result) {
        m_pendingSearch = "%EndIf";
        m_searchPending = true;
    }
}

void Interpreter::endIf()
{
    (void)topIfBlock("EndIf");
    --m_ifDepth;
}

} // namespace quorvex::script
