// The system menu: its built-in items' actions, the host's own items and
// the popup, on a window of the test's own.
#include "FrameFixture.h"

#include "forms/Form.h"
#include "forms/Menu.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QMenu>
#include <QTimer>
#include <QWindow>

namespace vb {
inline void PrintTo(const Variant& v, std::ostream* os)
{
    *os << "type " << static_cast<int>(v.type()) << " " << v.toStringOrEmpty().toStdString();
}
} // namespace vb

namespace {

using SF = frame::SkinFrame;
constexpr float Tw = 15.0f; // twips per pixel at 96 dpi

// Calls `seen` at every event of one type that reaches a window.
class Watch : public QObject {
public:
    Watch(QWidget* window, QEvent::Type type, std::function<void()> seen)
        : window_(window)
        , type_(type)
        , seen_(std::move(seen))
    {
        window_->installEventFilter(this);
    }
    ~Watch() override { window_->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == type_)
            seen_();
        return false;
    }

private:
    QWidget* window_;
    QEvent::Type type_;
    std::function<void()> seen_;
};

class SystemMenu : public fixture::Frame {
protected:
    void TearDown() override
    {
        forms::setPopupResponder(nullptr);
        fixture::Frame::TearDown();
    }

    // A 400 x 300 window carrying a frame over all of it, shown: the
    // frame has read its settings (khaki, linear) and laid out its buttons.
    SF& shown()
    {
        form = std::make_unique<forms::Form>();
        form->setBorderStyle(0);
        form->setClientSize(400 * Tw, 300 * Tw);
        skin = new SF(*form, nullptr, QStringLiteral("SkinFrame1"));
        skin->move(0, 0, 400 * Tw, 300 * Tw);
        skin->storedProperties() = {{QStringLiteral("themecolor"), 3}, {QStringLiteral("style"), 3}};
        form->show();
        reports.clear();
        return *skin;
    }

    void move(float x, float y)
    {
        std::int16_t button = 0, shift = 0;
        skin->UserControl_MouseMove(button, shift, x, y);
    }
    void press(float x, float y, std::int16_t button)
    {
        std::int16_t shift = 0;
        skin->UserControl_MouseDown(button, shift, x, y);
    }
    void release(float x, float y, std::int16_t button)
    {
        std::int16_t shift = 0;
        skin->UserControl_MouseUp(button, shift, x, y);
    }
    // Opens the menu from the title-bar icon and chooses the item with
    // this index, as the learner would.
    void choose(int index)
    {
        forms::setPopupResponder([index](const forms::PopupRequest& r) {
            for (std::size_t i = 0; i < r.items.size(); ++i)
                if (r.items[i]->index() == index)
                    return static_cast<int>(i);
            ADD_FAILURE() << "item " << index << " is not in the popup";
            return -1;
        });
        press(3, 5, 1);
        forms::setPopupResponder(nullptr);
    }

    // The items from an index on as "index:caption", in index order, with
    // their states (E enabled, C checked, V visible) when asked for.
    QStringList items(int from, bool states) const
    {
        QStringList out;
        for (int i = from; i <= skin->MnuSyst.ubound(); ++i)
            if (skin->MnuSyst.exists(i)) {
                const forms::MenuItem& m = skin->MnuSyst(i);
                QString item = QStringLiteral("%1:%2").arg(i).arg(m.caption());
                if (states)
                    item += QStringLiteral(" %1%2%3")
                                .arg(m.isEnabled() ? 'E' : '-')
                                .arg(m.checked() ? 'C' : '-')
                                .arg(m.isVisible() ? 'V' : '-');
                out << item;
            }
        return out;
    }
};

// The host's adds and removes, one list of steps per case.
TEST_F(SystemMenu, AddedItemsTakeTheNextIndexesAndGoWithTheirSeparators)
{
    struct Step {
        enum { Add, AddWithSeparator, Remove } kind;
        const char* caption;
        std::int16_t id;
    };
    auto add = [](const char* c) { return Step{Step::Add, c, 0}; };
    auto addSep = [](const char* c) { return Step{Step::AddWithSeparator, c, 0}; };
    auto remove = [](std::int16_t id) { return Step{Step::Remove, "", id}; };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        QStringList menu;
        std::vector<QString> reports;
    } const cases[] = {
        {"first add", {add("a")}, {"7:a"}, {}},
        {"with a separator", {addSep("a")}, {"7:-", "8:a"}, {}},
        {"an empty caption", {add("")}, {"7:"}, {}},
        {"the last item takes its separator", {addSep("a"), remove(8)}, {}, {}},
        {"the last item without one", {add("a"), add("b"), remove(8)}, {"7:a"}, {}},
        {"the separator alone", {addSep("a"), remove(7)}, {"8:a"}, {}},
        {"not the last: separator kept, index free", {addSep("a"), add("b"), remove(8)}, {"7:-", "9:b"}, {}},
        {"then the next index is taken",
         {addSep("a"), add("b"), remove(8), add("c")},
         {"7:-", "9:b"},
         {"FormMenuAdd:360"}},
        {"a separator added before the taken index",
         {add("a"), add("b"), add("c"), add("d"), remove(9), remove(7), addSep("e")},
         {"8:b", "9:-", "10:d"},
         {"FormMenuAdd:360"}},
        {"at the item count nothing goes", {addSep("a"), remove(9)}, {"7:-", "8:a"}, {"FormMenuRemove:340"}},
        {"beyond the item count", {addSep("a"), remove(10)}, {"7:-", "8:a"}, {}},
        {"an index removed before", {add("a"), add("b"), remove(7), remove(7)}, {"8:b"}, {"FormMenuRemove:340"}},
        // With a hole, the item before the last may be gone: nothing more goes.
        {"the one before is a hole",
         {add("a"), add("b"), add("c"), add("d"), remove(8), remove(9)},
         {"7:a", "10:d"},
         {}},
    };
    for (const Case& c : cases) {
        SF& f = make();
        for (const Step& s : c.steps) {
            if (s.kind == Step::Remove)
                f.FormMenuRemove(s.id);
            else
                f.FormMenuAdd(QString::fromUtf8(s.caption), s.kind == Step::AddWithSeparator, true, false, true);
        }
        EXPECT_EQ(items(7, false), c.menu) << c.what;
        EXPECT_EQ(reports, c.reports) << c.what;
    }
}

TEST_F(SystemMenu, AnAddedItemTakesItsStatesAndItsSeparatorIsPlain)
{
    SF& f = make();
    f.FormMenuAdd(QStringLiteral("a"), true, false, true, false);
    EXPECT_EQ(items(7, true), (QStringList{"7:- E-V", "8:a -C-"}));
}

TEST_F(SystemMenu, BuiltInItemsAreLeftAloneByModifyAndRemove)
{
    SF& f = shown();
    f.MnuSyst(6).setChecked(true);
    const QStringList before = items(0, true);
    for (std::int16_t id : {-1, 0, 1, 3, 4, 6, -32768}) {
        f.ModifyAddedMenu(id, QStringLiteral("x"), false, true, false);
        f.FormMenuRemove(id);
    }
    EXPECT_EQ(items(0, true), before);
    EXPECT_TRUE(reports.empty());
}

TEST_F(SystemMenu, ModifyChangesAnAddedItem)
{
    struct Case {
        const char* caption;
        bool enabled, checked, visible;
        const char* item;
    } const cases[] = {
        {"b", false, true, false, "7:b -C-"},
        {"", false, true, true, "7:a -CV"}, // an empty caption keeps the old one
        {"", true, false, false, "7:a E--"},
    };
    for (const Case& c : cases) {
        SF& f = make();
        f.FormMenuAdd(QStringLiteral("a"), false, true, false, true);
        f.ModifyAddedMenu(7, QString::fromUtf8(c.caption), c.enabled, c.checked, c.visible);
        EXPECT_EQ(items(7, true).value(0), QString::fromUtf8(c.item)) << c.caption;
    }
    // An index with no item: nothing changes, the failure is reported.
    SF& f = make();
    f.FormMenuAdd(QStringLiteral("a"), false, true, false, true);
    f.ModifyAddedMenu(8, QStringLiteral("b"), false, true, false);
    EXPECT_EQ(items(7, true), QStringList{"7:a E-V"});
    EXPECT_EQ(reports, std::vector<QString>{"ModifyAddedMenu:340"});
}

TEST_F(SystemMenu, GetMenuItemValueReadsEveryItem)
{
    SF& f = shown();
    f.FormMenuAdd(QStringLiteral("a"), true, false, true, true);
    struct Case {
        std::int16_t id;
        std::int32_t property;
        vb::Variant value;
        const char* report;
    } const cases[] = {
        {0, 0, QStringLiteral("还原"), nullptr},
        {0, 1, false, nullptr},
        {2, 1, true, nullptr},
        {4, 0, QStringLiteral("关闭            Alt+F4"), nullptr},
        {6, 2, false, nullptr},
        {1, 3, true, nullptr},
        {7, 0, QStringLiteral("-"), nullptr},
        {8, 1, false, nullptr},
        {8, 2, true, nullptr},
        {8, 3, true, nullptr},
        {4, 4, {}, nullptr},
        {4, -1, {}, nullptr},
        {9, 0, {}, "GetMenuItemValue:340"},
        {9, 3, {}, "GetMenuItemValue:340"},
        {9, 5, {}, nullptr}, // no property asked for, no item looked up
    };
    for (const Case& c : cases) {
        reports.clear();
        EXPECT_EQ(f.GetMenuItemValue(c.id, c.property), c.value) << c.id << "/" << c.property;
        EXPECT_EQ(reports, c.report ? std::vector<QString>{c.report} : std::vector<QString>{})
            << c.id << "/" << c.property;
    }
}

TEST_F(SystemMenu, AlwaysOnTopFlipsInPlaceWithoutANewWindow)
{
    SF& f = shown();
    QWidget* w = form->window();
    form->move(1500, 1200, 400 * Tw, 300 * Tw);
    QApplication::processEvents();
    const WId id = w->winId();
    const QRect at = w->geometry();
    int hidden = 0;
    Watch watch(w, QEvent::Hide, [&] { ++hidden; });
    for (bool on : {true, false}) {
        choose(6);
        EXPECT_EQ(hidden, 0) << on;
        EXPECT_EQ(f.MnuSyst(6).checked(), on);
        EXPECT_EQ(form->topmost(), on);
        EXPECT_EQ(w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(w->winId(), id);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->geometry(), at);
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(SystemMenu, CloseUnloadsWithoutTheCloseButtonsEvent)
{
    SF& f = shown();
    bool clicked = false;
    f.BtnCloseClick = [&] { clicked = true; };
    choose(4);
    EXPECT_FALSE(form->isLoaded());
    EXPECT_FALSE(clicked);
}

TEST_F(SystemMenu, MinimiseTakesTheHighlightOffFirst)
{
    SF& f = shown();
    const SF::CapBtnEntry& min = peek(f).m_aCapBtn()[2];
    const int gx = min.Left + 1, gy = min.Top + 1; // inside the highlight's outline
    const std::int32_t bare = at(gx, gy);
    move(min.Left + 9, min.Top + 9);
    ASSERT_EQ(peek(f).m_iLitBtn(), 2);
    ASSERT_NE(at(gx, gy), bare);

    // What the surface shows at the moment the window goes down.
    std::vector<std::int32_t> atMinimise;
    {
        Watch watch(form->window(), QEvent::WindowStateChange, [&] { atMinimise.push_back(at(gx, gy)); });
        choose(1);
    }
    EXPECT_EQ(atMinimise, std::vector<std::int32_t>{bare});
    EXPECT_EQ(peek(f).m_iLitBtn(), -1);
    EXPECT_EQ(form->windowState(), 1);
}

TEST_F(SystemMenu, OtherItemsGoToTheHostAsACopy)
{
    SF& f = shown();
    f.FormMenuAdd(QStringLiteral("a"), true, true, false, true);
    f.FormMenuAdd(QStringLiteral("off"), false, false, false, true);
    std::vector<QString> seen;
    f.MenuItemSelected = [&](std::int16_t& item, QString& caption) {
        seen.push_back(QString::number(item) + QLatin1Char(':') + caption);
        item = 4;
        caption = QStringLiteral("changed");
    };
    choose(8);
    EXPECT_EQ(seen, std::vector<QString>{"8:a"});
    EXPECT_EQ(f.MnuSyst(8).caption(), QStringLiteral("a"));
    EXPECT_TRUE(form->isLoaded()); // the changed index closed nothing
    // Separators and disabled items cannot be chosen.
    choose(7);
    choose(9);
    EXPECT_EQ(seen.size(), 1u);
    // Called for a separator, the handler hands it over like any other item.
    f.MnuSyst_Click(3);
    EXPECT_EQ(seen.back(), QStringLiteral("3:-"));
}

TEST_F(SystemMenu, ThePopupHoldsTheVisibleItemsWithCloseAsDefault)
{
    SF& f = shown();
    f.FormMenuAdd(QStringLiteral("a"), true, true, false, true);
    f.FormMenuAdd(QStringLiteral("hidden"), false, true, false, false);
    f.FormMenuAdd(QStringLiteral("b"), false, false, false, true);
    std::vector<forms::PopupRequest> popups;
    forms::setPopupResponder([&](const forms::PopupRequest& r) {
        popups.push_back(r);
        return -1;
    });
    press(3, 5, 1);
    QCursor::setPos(f.widget()->mapToGlobal(QPoint(120, 12)));
    release(120, 12, 2);
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups[0].at, f.widget()->mapToGlobal(QPoint(3, peek(f).m_lTitleHeight())));
    EXPECT_EQ(popups[1].at, QCursor::pos());
    for (const forms::PopupRequest& r : popups) {
        std::vector<int> indexes;
        for (const forms::MenuItem* item : r.items)
            indexes.push_back(item->index());
        EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 10}));
        EXPECT_EQ(r.defaultIndex, 4);
    }
}

// The real popup, as drawn: items that differ only in one state are drawn
// side by side and compared.
TEST_F(SystemMenu, ThePopupShowsDefaultDisabledCheckedAndSeparators)
{
    SF& f = shown();
    f.MnuSyst(6).setChecked(true);
    f.FormMenuAdd(f.MnuSyst(4).caption(), true, true, false, true);  // 7 "-", 8 close's twin
    f.FormMenuAdd(f.MnuSyst(6).caption(), false, true, false, true); // 9 unchecked twin
    f.FormMenuAdd(f.MnuSyst(0).caption(), false, true, false, true); // 10 enabled twin of restore
    QImage shot;
    std::vector<QRect> rows;
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        shot = menu->grab().toImage();
        shownAt = menu->pos();
        for (QAction* a : menu->actions())
            rows.push_back(menu->actionGeometry(a));
        menu->close();
    });
    press(3, 5, 1);
    // For a person to look at.
    QDir().mkpath(QStringLiteral(FRAME_PICTURES));
    EXPECT_TRUE(shot.save(QStringLiteral(FRAME_PICTURES "/system_menu.png")));
    EXPECT_EQ(shownAt, f.widget()->mapToGlobal(QPoint(3, peek(f).m_lTitleHeight())));
    ASSERT_EQ(rows.size(), 11u); // 0 to 10, every item visible
    const QRgb background = shot.pixel(rows[1].right() - 2, rows[1].center().y());
    auto ink = [&](const QRect& r, int x0, int x1) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left() + x0; x < r.left() + x1 && x <= r.right(); ++x)
                n += shot.pixel(x, y) != background;
        return n;
    };
    auto darkest = [&](const QRect& r) {
        int d = 255;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                d = std::min(d, qGray(shot.pixel(x, y)));
        return d;
    };
    // Inside the menu's border; the check mark's column left of every caption.
    const int inner = 3, gutter = 24, wide = rows[1].width() - 3;
    // Bold: the default item carries more ink than its plain twin.
    EXPECT_GT(ink(rows[4], inner, wide), ink(rows[8], inner, wide) * 11 / 10);
    // The check mark: in the gutter of the checked item only.
    EXPECT_GT(ink(rows[6], inner, gutter), 20);
    EXPECT_EQ(ink(rows[9], inner, gutter), 0);
    EXPECT_EQ(ink(rows[6], gutter, wide), ink(rows[9], gutter, wide));
    // Disabled: lighter text than its enabled twin.
    EXPECT_GT(darkest(rows[0]), darkest(rows[10]) + 40);
    // Separators: thin rows with a line, no caption.
    for (std::size_t i : {3u, 5u, 7u}) {
        EXPECT_LT(rows[i].height(), rows[1].height() / 2) << i;
        EXPECT_GT(ink(rows[i], inner, wide), wide / 2) << i;
    }
}

} // namespace
