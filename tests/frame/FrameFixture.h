#pragma once

#include "FrameProbe.h"
#include "Win32Support.h"
#include "frame/SkinFrame.h"
#include "win32/Win32.h"

#include <QImage>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <utility>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << s.toStdString();
}
QT_END_NAMESPACE

using testsupport::peek;

namespace fixture {

// The frame's settings as its window would store them, these changed, read
// back the way the frame reads its stored design: only these settings
// change, and nothing else runs.
inline void readStored(frame::SkinFrame& f, std::initializer_list<std::pair<const char*, vb::Variant>> changes)
{
    forms::PropertyBag bag;
    f.writeSettings(bag);
    for (const auto& [key, value] : changes)
        bag.writeProperty(QString::fromLatin1(key), value);
    f.readSettings(bag);
}

// A frame of its own on a window of its own, its surface white, and the
// error sink watched.
class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame::SkinFrame::setErrorObserver(
            [this](const QString& procedure, const QString& number, const QString& description) {
                reports.push_back(procedure + QLatin1Char(':') + number);
                descriptions.push_back(description);
            });
    }
    void TearDown() override
    {
        frame::SkinFrame::setErrorObserver(nullptr);
        win32::setVisualStyle({});
    }

    frame::SkinFrame& make(int widthPx = 100, int heightPx = 40)
    {
        form = std::make_unique<forms::Form>();
        skin = new frame::SkinFrame(*form, nullptr, QStringLiteral("SkinFrame1"));
        skin->setBackColor(0xFFFFFF);
        skin->move(0, 0, widthPx * 15.0f, heightPx * 15.0f);
        skin->cls(); // the resize has painted an empty title
        reports.clear();
        descriptions.clear();
        return *skin;
    }

    QImage& img() { return skin->surface().image(); }
    // A pixel as a colour value, &H00BBGGRR.
    std::int32_t at(int x, int y)
    {
        const QRgb c = img().pixel(x, y);
        return qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16);
    }
    static constexpr std::int32_t White = 0xFFFFFF;
    static std::int32_t grey(int v) { return v | (v << 8) | (v << 16); }

    std::unique_ptr<forms::Form> form;
    frame::SkinFrame* skin = nullptr;
    std::vector<QString> reports;
    std::vector<QString> descriptions;
};

} // namespace fixture
