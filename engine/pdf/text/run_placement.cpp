#include "pdf/text/run_placement.h"

#include <cmath>
#include <string_view>

#include "pdf/basics/pdf_number.h"

namespace relettra::pdf {

namespace {

// Shifts below this are rounding noise of the advances, not a change of width.
constexpr double kNoShift = 1e-6;

bool hasNumbers(const ParsedContent& content, const Operation& op, std::uint32_t count) {
    if (op.operandCount < count) return false;
    for (std::uint32_t i = op.operandCount - count; i < op.operandCount; ++i) {
        if (content.operand(op, i).kind != TokenKind::Number) return false;
    }
    return true;
}

// Operand `i` of the last `count` (operands are taken from the end, as the interpreter does).
const Token& lastOperand(const ParsedContent& content, const Operation& op, std::uint32_t count,
                         std::uint32_t i) {
    return content.operand(op, op.operandCount - count + i);
}

double lastNumber(const ParsedContent& content, const Operation& op, std::uint32_t count,
                  std::uint32_t i) {
    return numberValue(content.text(lastOperand(content, op, count, i)));
}

enum class Placement { None, Relative, Absolute };

Placement placementOf(const ParsedContent& content, const Operation& op) {
    const std::string_view name = content.operatorName(op);
    if (name == "BT") return Placement::Absolute;
    if (name == "Tm") return hasNumbers(content, op, 6) ? Placement::Absolute : Placement::None;
    if (name == "Td" || name == "TD") {
        return hasNumbers(content, op, 2) ? Placement::Relative : Placement::None;
    }
    if (name == "T*" || name == "'" || (name == "\"" && op.operandCount >= 3)) {
        return Placement::Relative;
    }
    return Placement::None;
}

// `operation` with the tokens in `tokens` (ascending) replaced by `values`.
std::string withNumbers(const ParsedContent& content, const Operation& op,
                        const std::vector<std::pair<const Token*, double>>& values) {
    std::string out;
    std::uint32_t copied = content.beginOf(op);
    for (const auto& [token, value] : values) {
        out.append(content.bytes(), copied, token->begin - copied);
        out += formatPdfNumber(value);
        copied = token->end;
    }
    out.append(content.bytes(), copied, content.endOf(op) - copied);
    return out;
}

}  // namespace

std::vector<PlacementMove> placementMoves(const ParsedContent& content,
                                          const std::vector<std::uint32_t>& showOps,
                                          const std::vector<double>& starts) {
    std::vector<PlacementMove> moves;
    bool anyShift = false;
    for (std::size_t k = 1; k < starts.size(); ++k)
        anyShift = anyShift || std::fabs(starts[k]) > kNoShift;
    if (showOps.empty() || !anyShift) return moves;
    const std::vector<Operation>& operations = content.operations();
    double line = 0;    // how far the current line stands from where it stood
    std::size_t k = 0;  // the last show of the run passed
    for (std::uint32_t i = showOps.front() + 1; i < operations.size(); ++i) {
        if (k + 1 < showOps.size() && i == showOps[k + 1]) {
            ++k;
            continue;
        }
        const bool afterRun = k + 1 == showOps.size();
        const double wanted = afterRun ? 0.0 : starts[k + 1];
        const Placement placement = placementOf(content, operations[i]);
        if (placement == Placement::Absolute) {
            line = 0;
            if (content.operatorName(operations[i]) == "Tm" && std::fabs(wanted) > kNoShift) {
                moves.push_back({i, wanted});
                line = wanted;
            }
        } else if (placement == Placement::Relative && std::fabs(wanted - line) > kNoShift) {
            moves.push_back({i, wanted - line});
            line = wanted;
        }
        if (afterRun && placement != Placement::None) break;
    }
    return moves;
}

std::string movedPlacement(const ParsedContent& content, std::uint32_t operation, double shift,
                           const std::string& current) {
    const Operation& op = content.operations()[operation];
    const std::string_view name = content.operatorName(op);
    if ((name == "Td" || name == "TD") && hasNumbers(content, op, 2)) {
        const Token& x = lastOperand(content, op, 2, 0);
        return withNumbers(content, op, {{&x, numberValue(content.text(x)) + shift}});
    }
    if (name == "Tm" && hasNumbers(content, op, 6)) {
        // The origin moves along the matrix's own x axis.
        const double a = lastNumber(content, op, 6, 0);
        const double b = lastNumber(content, op, 6, 1);
        const Token& e = lastOperand(content, op, 6, 4);
        const Token& f = lastOperand(content, op, 6, 5);
        return withNumbers(content, op,
                           {{&e, numberValue(content.text(e)) + shift * a},
                            {&f, numberValue(content.text(f)) + shift * b}});
    }
    return formatPdfNumber(shift) + " 0 Td " + current;
}

}  // namespace relettra::pdf
