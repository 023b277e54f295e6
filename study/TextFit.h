#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <array>
#include <vector>

namespace forms {
class Label;
}

namespace study {

// A wrapping label of the question panel as designed: its size in twips,
// its font's size in points (the font is Tahoma), and the part of it that
// other controls cover, in twips from its top left: below `clearHeight`
// the next label begins, and right of `coveredLeft` from `coveredTop`
// down lies the picture area.
struct WrappedLabel {
    float width, height;
    double points;
    float clearHeight, coveredLeft, coveredTop;
    QFont font() const;
};
// The title runs into the option lines at 1920 and under the picture area
// (Left 6480, Top 1620); the option lines stay clear of both.
constexpr WrappedLabel TitleLabel{13800, 1065, 15, 1920 - 930, 6480 - 255, 1620 - 930};
constexpr WrappedLabel OptionsLabel{5820, 2685, 15, 2685, 5820, 2685};

// Smallest size to which the display lowers a label's font to fit its text.
constexpr double FloorPoints = 9;

// How a label lays out `text` (CR LF breaks lines) wrapped at `width`
// pixels: each line's box, the whole height, and whether a wrapped line
// leaves one character alone on its last line.
struct Wrap {
    std::vector<QRect> lines;
    int width = 0, height = 0;
    bool orphan = false;
};
Wrap wrapText(const QFont& font, int width, const QString& text);

// Whether every line of `text` in `font` can be read in the label: within
// its width, and its letters as drawn within its clear height and clear of
// the part that is covered.
bool fitsIn(const QFont& font, const WrappedLabel& label, const QString& text);

// Gives the label's caption the largest size, from the design size down
// in steps of 0.75 pt to the floor, at which it fits; below the floor the
// rest is cut. A caption that fits keeps the design size.
void fitCaption(forms::Label& label, const WrappedLabel& design);

// The option lines of a question as the display writes them: "A、" and the
// text for each option present, A to C each followed by CR LF.
QString optionLines(const std::array<QString, 4>& options);

} // namespace study
