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

ShowsPlaced placeShows(const ParsedContent& content, std::uint32_t from,
                       const std::vector<std::uint32_t>& showOps, const std::vector<double>& wanted,
                       const std::vector<double>& widthChanges) {
    ShowsPlaced placed;
    placed.shifts.assign(showOps.size(), 0.0);
    const std::vector<Operation>& operations = content.operations();
    double line = 0;           // how far the current line stands from where it stood
    double pen = 0;            // how far a show that follows the pen stands from where it stood
    bool placedSince = false;  // some positioning stands between the last show and here
    std::uint32_t lastPlacement = 0;
    std::size_t k = 0;  // the next show of the list
    for (std::uint32_t i = from; i < operations.size(); ++i) {
        const bool listed = k < showOps.size() && i == showOps[k];
        const bool afterList = k == showOps.size();
        const double want = afterList ? 0.0 : wanted[k];
        const Placement placement = placementOf(content, operations[i]);
        if (placement == Placement::Absolute) {
            line = 0;
            if (content.operatorName(operations[i]) == "Tm" && std::fabs(want) > kNoShift) {
                placed.moves.push_back({i, want});
                line = want;
            }
        } else if (placement == Placement::Relative && std::fabs(want - line) > kNoShift) {
            placed.moves.push_back({i, want - line});
            line = want;
        }
        if (placement != Placement::None) {
            placedSince = true;
            lastPlacement = i;
        }
        if (listed) {
            if (placedSince && std::fabs(want - line) > kNoShift) {
                // Only a BT stands before the show: it takes a move of its own.
                placed.moves.push_back({lastPlacement, want - line});
                line = want;
            }
            placed.shifts[k] = placedSince ? line : pen;
            pen = placed.shifts[k] + (k < widthChanges.size() ? widthChanges[k] : 0.0);
            placedSince = false;
            ++k;
            continue;
        }
        if (!afterList) continue;
        if (placement != Placement::None) break;
        const std::string_view name = content.operatorName(operations[i]);
        if ((name == "Tj" || name == "TJ") && std::fabs(pen) > kNoShift) {
            placed.followers.push_back({i, pen});
        }
    }
    return placed;
}

std::vector<PlacementMove> placementMoves(const ParsedContent& content,
                                          const std::vector<std::uint32_t>& showOps,
                                          const std::vector<double>& starts) {
    bool anyShift = false;
    for (std::size_t k = 1; k < starts.size(); ++k)
        anyShift = anyShift || std::fabs(starts[k]) > kNoShift;
    if (showOps.empty() || !anyShift) return {};
    const std::vector<std::uint32_t> rest(showOps.begin() + 1, showOps.end());
    const std::vector<double> wanted(starts.begin() + 1, starts.end());
    return placeShows(content, showOps.front() + 1, rest, wanted, {}).moves;
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
    if (name == "BT") {
        return current + " " + formatPdfNumber(shift) + " 0 Td";
    }
    return formatPdfNumber(shift) + " 0 Td " + current;
}

}  // namespace relettra::pdf
