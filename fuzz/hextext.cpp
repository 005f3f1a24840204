// The text forms of bytes: the three copy forms against plain formatting and
// back through the paste parser (a hex string or block parsed gives the
// bytes again), ParseHexBytes against strtol on each pair, IsHexPattern, and
// the offset parser against exact arithmetic.
#include "rules/HexText.h"
#include "FuzzInput.h"
#include "model/ViewModel.h"

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& input) {
    std::fprintf(stderr, "\n==== rule broken: %s for %s\n", what.c_str(),
                 model::Quoted(input).c_str());
    std::abort();
}

/// Whether two texts or byte blocks hold the same values, whatever container
/// and allocator each comes in.
template <typename A, typename B>
bool Same(const A& a, const B& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}
template <typename A, typename B>
bool Same(const std::optional<A>& a, const std::optional<B>& b) {
    return a.has_value() == b.has_value() && (!a || Same(*a, *b));
}

void CheckCopyForms(const std::vector<uint8_t>& bytes, int perRow) {
    const std::string raw(bytes.begin(), bytes.end());
    const auto hex = FormatHexString(bytes.data(), bytes.size());
    if (!Same(hex, model::HexString(bytes.data(), bytes.size()))) Fail("the hex string", raw);
    if (!Same(ParseHexBytes(hex), std::optional(bytes)) || !IsHexPattern(hex)) {
        Fail("the hex string does not read back", raw);
    }

    const auto block = FormatHexBlock(bytes.data(), bytes.size(), perRow);
    if (!Same(block, model::HexBlock(bytes.data(), bytes.size(), perRow))) {
        Fail("the hex block", raw);
    }
    if (!Same(ParseHexBytes(block), std::optional(bytes))) {
        Fail("the hex block does not read back", raw);
    }

    if (!Same(FormatAsciiText(bytes.data(), bytes.size()),
              model::AsciiText(bytes.data(), bytes.size()))) {
        Fail("the ASCII text", raw);
    }
}

void CheckReadings(const std::string& text) {
    if (!Same(ParseHexBytes(text), model::HexPairs(text))) Fail("ParseHexBytes", text);
    if (IsHexPattern(text) != model::IsHexPattern(text)) Fail("IsHexPattern", text);

    // The offset parser: digits from the last, weights 16^k, others count 0,
    // wrapping modulo 2^64.
    uint64_t value = 0;
    for (char c : text) value = value * 16 + uint64_t(std::max(0, model::HexValue(c)));
    if (ParseHexNumber(text) != value) Fail("ParseHexNumber", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int perRow = in.Range(1, 40);
    const std::vector<uint8_t> rest = in.Rest();
    CheckCopyForms(rest, perRow);
    CheckReadings(std::string(rest.begin(), rest.end()));
    return 0;
}
