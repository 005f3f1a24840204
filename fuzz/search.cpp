// The search: the matcher, with each of its vector widths, against a naive
// scan of every start offset, on a heap block of exactly the image's size so
// that any read past it is caught, and whole searches run by the view (panel
// mode and input in, ENTER) against the pattern built from the mode and
// input by hand.
#include <cstring>
#include <memory>

#include "FuzzInput.h"
#include "model/ViewModel.h"
#include "rules/Matcher.h"

using namespace platform;

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "\n==== rule broken: %s\n", what.c_str());
    std::abort();
}

void CheckMatcher(FuzzInput& in) {
    std::vector<uint8_t> pattern = in.Bytes(20);
    const bool fold = in.Bool();
    if (fold) {
        for (auto& b : pattern) {
            if (b >= 'A' && b <= 'Z') b = uint8_t(b + 0x20);
        }
    }
    const std::vector<uint8_t> bytes = in.Bytes(255);
    const uint32_t size = uint32_t(bytes.size());
    const uint32_t first = in.Range<uint32_t>(0, size + 1);
    const uint32_t last = in.Range<uint32_t>(first, size + 1 > first ? size : first);
    SetMatcherWideVectors(in.Bool());  // or only the 16-byte vectors
    // Exactly sized, so that AddressSanitizer sees a read one byte past it.
    const std::unique_ptr<uint8_t[]> data(new uint8_t[size]);
    if (size) std::memcpy(data.get(), bytes.data(), size);

    const uint32_t got = FindPattern(pattern.data(), pattern.size(), data.get(), size, first,
                                     std::min(last, size), fold);
    uint32_t want = model::NaiveFind(pattern, fold, data.get(), size, first);
    if (want != model::NONE && want >= last) want = model::NONE;
    if (got != want) {
        Fail("FindPattern gave " + model::Offset(got) + ", a naive scan " + model::Offset(want) +
             " in [" + std::to_string(first) + ", " + std::to_string(last) + ") of " +
             model::Bytes(bytes) + " for " + model::Bytes(pattern));
    }
}

void CheckViewSearch(FuzzInput& in) {
    headless::HeadlessHost host(320, 120);
    CHexView view;
    if (!view.Create(host)) Fail("no view");
    const std::vector<uint8_t> bytes = in.Bytes(200);
    view.m_image.Allocate(uint32_t(bytes.size()));
    if (!bytes.empty()) std::memcpy(view.m_image.Fill(), bytes.data(), bytes.size());
    view.m_nSelStart = view.m_nSelEnd = view.m_nCaret =
        in.Range<uint32_t>(0, uint32_t(bytes.size()));
    view.RecalcMetrics();

    static const unsigned commands[] = {ID_SEARCH_HEX, ID_SEARCH_TEXT, ID_SEARCH_TEXT_NOCASE,
                                        ID_SEARCH_UNICODE, ID_SEARCH_UNICODE_NOCASE};
    host.PostViewMessage(msg::Command, commands[in.Range(0, 4)], 0);
    host.RunUntilIdle();
    view.m_strInput = in.Text(24);
    model::Model m;
    m.s = model::Observe(view, host);
    host.PressKey(vk::Return);
    m.Enter();
    const std::string difference = model::Difference(m.s, model::Observe(view, host));
    if (!difference.empty()) {
        Fail("search of mode " + std::to_string(view.m_nSearchMode) + " for " +
             model::Quoted(view.m_strInput) + ":\n" + difference);
    }
    view.m_bInputPanel = false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    if (in.Bool()) CheckMatcher(in);
    else CheckViewSearch(in);
    return 0;
}
