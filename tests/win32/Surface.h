#pragma once

#include "forms/Controls.h"
#include "forms/Form.h"
#include "win32/Win32.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

namespace fixture {

// A borderless white picture box of its own, 40 by 20 pixels, whose device
// context the drawing calls take.
class Surface : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<forms::Form>();
        box = new forms::PictureBox(*form, nullptr, QStringLiteral("Picture1"));
        box->setBorderStyle(0);
        box->setBackColor(0xFFFFFF);
        box->move(0, 0, 40 * 15.0f, 20 * 15.0f);
        box->cls();
    }

    win32::HDC dc() const { return box->drawing().hDC(); }
    QImage& img() { return box->surface(); }
    // A pixel as a colour value, &H00BBGGRR.
    std::uint32_t at(int x, int y)
    {
        const QRgb c = img().pixel(x, y);
        return static_cast<std::uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
    }
    // The pixels that are not white.
    std::vector<QPoint> ink()
    {
        std::vector<QPoint> out;
        for (int y = 0; y < img().height(); ++y)
            for (int x = 0; x < img().width(); ++x)
                if (at(x, y) != White)
                    out.push_back({x, y});
        return out;
    }
    static constexpr std::uint32_t White = 0xFFFFFF;

    std::unique_ptr<forms::Form> form;
    forms::PictureBox* box = nullptr;
};

} // namespace fixture
