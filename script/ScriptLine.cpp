#include "script/ScriptLine.h"

#include <array>
#include <string_view>

namespace quorvex::script {

namespace {

struct Keyword {
    std::string_view text;
    LineKind kind;
};

// Recognised only when the line's first character is '%'.
constexpr std::array kDeclarationKeywords{
    Keyword{"DeclareBeg", LineKind::DeclareBeg},
    Keyword{"New", LineKind::New},
    Keyword{"DeclareEnd", LineKind::DeclareEnd},
    Keyword{"Delay", LineKind::Delay},
    Keyword{"Set", LineKind::Set},
};

// Recognised after any first character.
constexpr std::array kFlowKeywords{
    Keyword{"While", LineKind::While},
    Keyword{"EndWhile", LineKind::EndWhile},
    Keyword{"If", LineKind::If},
    Keyword{"Then", LineKind::Then},
    Keyword{"Else", LineKind::Else},
    Keyword{"EndIf", LineKind::EndIf},
    Keyword{"RunCommand", LineKind::RunCommand},
    Keyword{"Oper", LineKind::Oper},
    Keyword{"Print", LineKind::Print},
    Keyword{"EnableSecond", LineKind::EnableSecond},
    Keyword{"DisableSecond", LineKind::DisableSecond},
};

template <std::size_t N>
std::optional<ClassifiedLine> matchKeyword(std::string_view text,
                                           const std::array<Keyword, N>& keywords)
{
    for (const Keyword& keyword : keywords) {
        if (text.substr(0, keyword.text.size()) == keyword.text)
            return ClassifiedLine{keyword.kind, std::string(text.substr(keyword.text.size()))};
    }
    return std::nullopt;
}

} // namespace

ClassifiedLine classifyLine(const std::string& trimmed)
{
    if (trimmed.empty())
        return {LineKind::Ignored, {}};
    const char marker = trimmed.front();
    const std::string_view text = std::string_view(trimmed).substr(1);
    if (marker == '%') {
        if (auto declaration = matchKeyword(text, kDeclarationKeywords))
            return *declaration;
    }
    if (auto flow = matchKeyword(text, kFlowKeywords))
        return *flow;
    if (marker == ';')
        return {LineKind::Ignored, {}};
    if (marker == '+')
        return {LineKind::Comment, {}};
    return {LineKind::Command, {}};
}

std::string textBetween(const std::string& text, char open, char close)
{
    const std::size_t openAt = text.find(open);
    const std::size_t start = openAt == std::string::npos ? 0 : openAt + 1;
    const std::size_t closeAt = text.find(close, start);
    return closeAt == std::string::npos ? text.substr(start) : text.substr(start, closeAt - start);
}

std::string textBefore(const std::string& text, char separator)
{
    return text.substr(0, text.find(separator));
}

std::string textAfter(const std::string& text, char separator)
{
    const std::size_t at = text.find(separator);
    return at == std::string::npos ? std::string() : text.substr(at + 1);
}

} // namespace quorvex::script
