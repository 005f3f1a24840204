// A hex view created on the headless host, with helpers that give it an
// image and find the screen position of a byte.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "model/ViewModel.h"
#include "view/HexView.h"

class ViewTest : public ::testing::Test {
protected:
    explicit ViewTest(int width = 800, int height = 600) : host(width, height) {}
    void SetUp() override { ASSERT_TRUE(view.Create(host)); }

    /// Gives the view an image as a load would leave it: byte 0 selected.
    void SetImage(const std::vector<uint8_t>& bytes) {
        view.m_image.Allocate(uint32_t(bytes.size()));
        ASSERT_NE(view.m_pData, nullptr);
        if (!bytes.empty()) std::memcpy(view.m_image.Fill(), bytes.data(), bytes.size());
        view.m_nSelStart = view.m_nSelEnd = view.m_nCaret = 0;
        view.m_history.Clear();
        view.RecalcMetrics();
    }
    void SetImage(size_t size, uint8_t fill = 0) { SetImage(std::vector<uint8_t>(size, fill)); }

    std::vector<uint8_t> Image() const {
        return view.m_pData ? std::vector<uint8_t>(view.m_pData, view.m_pData + view.m_nFileSize)
                            : std::vector<uint8_t>{};
    }

    /// The centre of the first hex digit / the character of a byte on screen
    /// (taking the scroll position into account).
    platform::Point HexPoint(uint32_t offset) const { return model::HexPoint(view, offset); }
    platform::Point CharPoint(uint32_t offset) const { return model::CharPoint(view, offset); }

    /// Whether the last paint drew exactly this string.
    bool LastFrameHas(const std::string& text) const {
        for (const auto& s : host.LastFrameStrings()) {
            if (s.text == text) return true;
        }
        return false;
    }

    int RangeMax() const {
        int lo = 0, hi = 0;
        host.ScrollBar()->GetScrollRange(lo, hi);
        return hi;
    }

    headless::HeadlessHost host;
    CHexView view;
};
