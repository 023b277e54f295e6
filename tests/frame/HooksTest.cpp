// The interception in front of window procedures: its two passes, its
// tables, its removal, and the three messages the frame listens to.
#include "FrameFixture.h"

#include "forms/Form.h"
#include "vb/Conversions.h"

#include <algorithm>

namespace {

using SF = frame::SkinFrame;
namespace wm = forms::wm;
constexpr float Tw = 15.0f; // twips per pixel at 96 dpi

// A window procedure of the test's: notes every message, then answers 7,
// or passes it on to the window's own handling (all but `swallow`).
class Proc : public forms::WindowProc {
public:
    explicit Proc(bool passOn = false) : passOn_(passOn) {}
    qintptr call(forms::Handle h, unsigned msg, quintptr wParam, qintptr lParam) override
    {
        seen.push_back({msg, wParam});
        qintptr result = 7;
        if (passOn_ && msg != swallow)
            result = win32::CallWindowProcA(nullptr, h, msg, wParam, lParam);
        if (after)
            after();
        return result;
    }
    std::size_t count(unsigned msg) const
    {
        return static_cast<std::size_t>(
            std::count_if(seen.begin(), seen.end(), [&](const Seen& s) { return s.msg == msg; }));
    }
    struct Seen {
        unsigned msg;
        quintptr wParam;
    };
    std::vector<Seen> seen;
    unsigned swallow = 0;
    std::function<void()> after;

private:
    bool passOn_;
};

// A frame whose callback the test scripts. It notes every call with what
// the call found, and adds 1 to wParam in the before pass.
class Probe : public SF {
public:
    using SF::SF;
    struct Call {
        bool before;
        std::int32_t msg;
        std::int32_t lReturn;
        quintptr wParam;
        bool operator==(const Call&) const = default;
        friend void PrintTo(const Call& c, std::ostream* os)
        {
            *os << (c.before ? "before " : "after ") << c.msg << " lReturn " << c.lReturn << " wParam " << c.wParam;
        }
    };
    void zSubclass_Proc(bool bBefore, bool& bHandled, std::int32_t& lReturn, forms::Handle&, std::int32_t& uMsg,
                        quintptr& wParam, qintptr&) override
    {
        calls.push_back({bBefore, uMsg, lReturn, wParam});
        const std::int32_t set = bBefore ? setBefore : setAfter;
        if (set >= 0)
            lReturn = set;
        if (bBefore) {
            bHandled = handle;
            ++wParam;
        }
        if (also)
            also(bBefore);
    }
    std::vector<Call> calls;
    bool handle = false;
    std::int32_t setBefore = -1, setAfter = -1; // -1: lReturn left as found
    std::function<void(bool before)> also;
};

class Hooks : public fixture::Frame {
protected:
    void SetUp() override
    {
        fixture::Frame::SetUp();
        fresh();
    }
    void TearDown() override
    {
        form.reset();
        testsupport::withdrawExport(QStringLiteral("User32"), QStringLiteral("TrackMouseEvent"), false);
        testsupport::withdrawExport(QStringLiteral("Comctl32"), QStringLiteral("_TrackMouseEvent"), false);
        testsupport::setWorkAreaOverride(QRect());
        fixture::Frame::TearDown();
    }

    static win32::LONG_PTR asLong(forms::WindowProc* p) { return reinterpret_cast<win32::LONG_PTR>(p); }

    // A window of its own whose procedure is `inner`, and a probe frame;
    // nothing hooked yet.
    void fresh()
    {
        form = std::make_unique<forms::Form>();
        probe = new Probe(*form, nullptr, QStringLiteral("SkinFrame1"));
        skin = probe;
        h = form->hWnd();
        inner = Proc();
        win32::SetWindowLongA(h, win32::GWL_WNDPROC, asLong(&inner));
        reports.clear();
        descriptions.clear();
    }
    qintptr send(unsigned msg, quintptr wParam = 1) { return win32::SendMessageA(h, msg, wParam, 0); }

    // A window carrying the frame as the program's windows do, shown, so
    // that the frame has read its settings and hooked what it hooks. The
    // test's procedures, when asked for, are the windows' own before that.
    SF& framed(bool withFormProc = false, bool withFrameProc = false)
    {
        form = std::make_unique<forms::Form>();
        form->setClientSize(400 * Tw, 300 * Tw);
        skin = new SF(*form, nullptr, QStringLiteral("SkinFrame1"));
        skin->storedProperties() = {{QStringLiteral("themecolor"), 3}, {QStringLiteral("style"), 3}};
        formProc = Proc(true);
        frameProc = Proc(true);
        if (withFormProc)
            win32::SetWindowLongA(form->hWnd(), win32::GWL_WNDPROC, asLong(&formProc));
        if (withFrameProc)
            win32::SetWindowLongA(skin->hWnd(), win32::GWL_WNDPROC, asLong(&frameProc));
        form->show();
        reports.clear();
        return *skin;
    }

    Proc inner;
    Proc formProc{true}, frameProc{true};
    Probe* probe = nullptr;
    forms::Handle h = 0;
};

using Call = Probe::Call;
constexpr std::int32_t M = 0x401;

TEST_F(Hooks, TheMessagePath)
{
    struct Case {
        const char* what;
        std::int32_t when; // the tables that hold M
        bool handle;       // the before pass sets bHandled
        std::int32_t setBefore, setAfter;
        std::vector<Call> calls;
        bool innerRuns;
        quintptr innerWParam;
        qintptr result;
    } const cases[] = {
        {"unlisted", 0, false, -1, -1, {}, true, 1, 7},
        {"before", SF::WHEN_BEFORE, false, -1, -1, {{true, M, 0, 1}}, true, 2, 7},
        {"after", SF::WHEN_AFTER, false, -1, -1, {{false, M, 7, 1}}, true, 1, 7},
        {"after sets the result", SF::WHEN_AFTER, false, -1, 9, {{false, M, 7, 1}}, true, 1, 9},
        {"both: the procedure's result replaces the before pass's",
         3,
         false,
         5,
         -1,
         {{true, M, 0, 1}, {false, M, 7, 2}},
         true,
         2,
         7},
        {"handled before", 3, true, 5, 9, {{true, M, 0, 1}}, false, 0, 5},
        {"handled before, no result set", 3, true, -1, 9, {{true, M, 0, 1}}, false, 0, 0},
    };
    for (const Case& c : cases) {
        fresh();
        ASSERT_EQ(probe->Subclass_Start(h), 0);
        if (c.when)
            probe->Subclass_AddMsg(h, M, c.when);
        probe->handle = c.handle;
        probe->setBefore = c.setBefore;
        probe->setAfter = c.setAfter;
        EXPECT_EQ(send(M, 1), c.result) << c.what;
        EXPECT_EQ(probe->calls, c.calls) << c.what;
        ASSERT_EQ(inner.seen.size(), c.innerRuns ? 1u : 0u) << c.what;
        if (c.innerRuns) {
            EXPECT_EQ(inner.seen[0].wParam, c.innerWParam) << c.what;
        }
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(Hooks, ATableKeepsOneEntryPerMessageAndReusesAFreedOne)
{
    probe->Subclass_Start(h);
    const frame::HookEntry& e = peek(*probe).m_aHooks()[0];
    for (std::int32_t msg : {M, M + 1, M})
        probe->Subclass_AddMsg(h, msg, SF::WHEN_BEFORE);
    EXPECT_EQ(e.BeforeCount, 2);
    EXPECT_EQ(e.BeforeMsgs, (std::vector<std::int32_t>{M, M + 1}));
    EXPECT_EQ(e.AfterCount, 0);
    send(M);
    EXPECT_EQ(probe->calls.size(), 1u); // one call per pass

    probe->Subclass_DelMsg(h, M, SF::WHEN_BEFORE);
    EXPECT_EQ(e.BeforeMsgs, (std::vector<std::int32_t>{0, M + 1}));
    EXPECT_EQ(e.BeforeCount, 2);
    send(M);
    EXPECT_EQ(probe->calls.size(), 1u);

    probe->Subclass_AddMsg(h, M + 2, SF::WHEN_BEFORE);
    EXPECT_EQ(e.BeforeMsgs, (std::vector<std::int32_t>{M + 2, M + 1}));
    EXPECT_EQ(e.BeforeCount, 2);
    send(M + 2);
    send(M + 1);
    EXPECT_EQ(probe->calls.size(), 3u);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Hooks, AnyMessageCountsMinusOneAndDeletedCountsZero)
{
    probe->Subclass_Start(h);
    const frame::HookEntry& e = peek(*probe).m_aHooks()[0];
    probe->Subclass_AddMsg(h, M, SF::WHEN_AFTER);
    probe->Subclass_AddMsg(h, SF::ANY_MESSAGE, SF::WHEN_AFTER);
    EXPECT_EQ(e.AfterCount, -1);
    for (unsigned msg : {0x401u, 0x555u, 0x20u})
        send(msg);
    EXPECT_EQ(probe->calls, (std::vector<Call>{{false, 0x401, 7, 1}, {false, 0x555, 7, 1}, {false, 0x20, 7, 1}}));
    probe->Subclass_DelMsg(h, SF::ANY_MESSAGE, SF::WHEN_AFTER);
    EXPECT_EQ(e.AfterCount, 0);
    EXPECT_EQ(e.AfterMsgs, (std::vector<std::int32_t>{M})); // kept, unread
    send(M);
    send(0x555);
    EXPECT_EQ(probe->calls.size(), 3u);
    EXPECT_EQ(inner.seen.size(), 5u);
    EXPECT_EQ(e.BeforeCount, 0);
}

TEST_F(Hooks, AWindowHookedTwiceIsUnhookedNewestFirst)
{
    for (bool shutdown : {false, true}) {
        fresh();
        EXPECT_EQ(probe->Subclass_Start(h), 0);
        probe->Subclass_AddMsg(h, M, SF::WHEN_BEFORE);
        EXPECT_EQ(probe->Subclass_Start(h), 1); // a second interception in front of the first
        probe->Subclass_AddMsg(h, M, SF::WHEN_BEFORE);
        EXPECT_EQ(peek(*probe).m_aHooks()[0].BeforeCount, 1);
        EXPECT_EQ(peek(*probe).m_aHooks()[1].BeforeCount, 1);
        EXPECT_EQ(peek(*probe).m_aHooks()[0].PrevWndProc, &inner);
        send(M);
        EXPECT_EQ(probe->calls.size(), 2u);
        EXPECT_EQ(inner.seen.size(), 1u);
        EXPECT_EQ(inner.seen[0].wParam, 3u); // through both before passes

        if (shutdown) {
            probe->Subclass_Shutdown();
        } else {
            probe->Subclass_Stop(h);
            EXPECT_EQ(peek(*probe).m_aHooks()[1].hWnd, 0u);
            EXPECT_EQ(peek(*probe).m_aHooks()[0].hWnd, h);
            EXPECT_EQ(form->procedure(), peek(*probe).m_aHooks()[1].PrevWndProc); // the first interception
            probe->calls.clear();
            send(M);
            EXPECT_EQ(probe->calls.size(), 1u);
            probe->Subclass_Stop(h);
        }
        EXPECT_EQ(form->procedure(), &inner) << shutdown;
        EXPECT_EQ(peek(*probe).m_aHooks().size(), 2u);
        EXPECT_EQ(peek(*probe).m_aHooks()[0].hWnd | peek(*probe).m_aHooks()[1].hWnd, 0u);
        probe->calls.clear();
        EXPECT_EQ(send(M), 7);
        EXPECT_TRUE(probe->calls.empty());
        // A free slot is taken again, the highest first.
        EXPECT_EQ(probe->Subclass_Start(h), 1);
        EXPECT_TRUE(reports.empty());
    }
}

TEST_F(Hooks, ATableGrownWhileHookedServesTheNextMessage)
{
    probe->Subclass_Start(h);
    for (std::int32_t k = 1; k <= 40; ++k) {
        probe->Subclass_AddMsg(h, M + k, SF::WHEN_AFTER);
        send(static_cast<unsigned>(M + k));
        ASSERT_EQ(probe->calls.size(), static_cast<std::size_t>(k));
        EXPECT_EQ(probe->calls.back().msg, M + k);
    }
    send(M + 1);
    EXPECT_EQ(probe->calls.size(), 41u);
}

// A hook removed from inside one of its own messages stays valid until that
// message has returned; the message goes on to the window's procedure and
// calls the frame no more.
TEST_F(Hooks, AHookRemovedInsideItsOwnMessageLivesUntilTheMessageReturns)
{
    struct Case {
        const char* what;
        bool twice; // the window hooked twice
        bool shutdown;
    } const cases[] = {
        {"Subclass_Stop", false, false},
        {"Subclass_Shutdown", false, true},
        {"Subclass_Shutdown of a window hooked twice", true, true},
    };
    for (const Case& c : cases) {
        fresh();
        probe->Subclass_Start(h);
        probe->Subclass_AddMsg(h, M, 3);
        if (c.twice) {
            probe->Subclass_Start(h);
            probe->Subclass_AddMsg(h, M, 3);
        }
        std::vector<std::weak_ptr<frame::Interception>> hooks;
        for (const frame::HookEntry& e : peek(*probe).m_aHooks())
            hooks.emplace_back(e.ThunkAddr);
        probe->also = [&](bool before) {
            if (!before)
                return;
            if (c.shutdown)
                probe->Subclass_Shutdown();
            else
                probe->Subclass_Stop(h);
        };
        bool alive = false;
        inner.after = [&] {
            alive = std::none_of(hooks.begin(), hooks.end(), [](const auto& w) { return w.expired(); });
        };
        EXPECT_EQ(send(M), 7) << c.what;
        EXPECT_EQ(inner.seen.size(), 1u) << c.what;
        EXPECT_TRUE(alive) << c.what;
        EXPECT_EQ(probe->calls.size(), 1u) << c.what; // the before pass that removed it
        for (const auto& w : hooks)
            EXPECT_TRUE(w.expired()) << c.what;
        EXPECT_EQ(form->procedure(), &inner) << c.what;
        EXPECT_TRUE(reports.empty()) << c.what;
    }
}

TEST_F(Hooks, ClosingTheWindowByTheCloseButtonFreesTheHooksOnlyAfterTheClick)
{
    SF& f = framed(false, true);
    ASSERT_EQ(peek(f).m_aHooks().size(), 2u);
    const std::weak_ptr<frame::Interception> own = peek(f).m_aHooks()[0].ThunkAddr,
                                             ofForm = peek(f).m_aHooks()[1].ThunkAddr;
    bool aliveAfterUnload = false;
    frameProc.after = [&] {
        if (!form->isLoaded())
            aliveAfterUnload = !own.expired();
    };
    const SF::CapBtnEntry& close = peek(f).m_aCapBtn()[0];
    const qintptr over = forms::makeLParam(close.Left + 9, close.Top + 9);
    win32::SendMessageA(f.hWnd(), wm::MouseMove, 0, over);
    win32::SendMessageA(f.hWnd(), wm::LButtonDown, forms::MkLButton, over);
    win32::SendMessageA(f.hWnd(), wm::LButtonUp, 0, over);
    EXPECT_FALSE(form->isLoaded());
    EXPECT_TRUE(aliveAfterUnload);
    EXPECT_TRUE(own.expired());
    EXPECT_TRUE(ofForm.expired());
    EXPECT_EQ(f.procedure(), &frameProc);
    EXPECT_EQ(form->procedure(), nullptr);
    EXPECT_TRUE(reports.empty());
}

// A window destroyed while it is loaded (a program's end without a close, a
// test's window dropped) takes the frame's interceptions out before any of
// its controls goes: a message sent while the rest is freed, here from a
// control older than the frame, meets the windows' own procedures, never a
// freed interception.
TEST_F(Hooks, AWindowDestroyedWhileLoadedIsUnhookedBeforeItsControlsGo)
{
    form = std::make_unique<forms::Form>();
    form->setClientSize(400 * Tw, 300 * Tw);
    auto* older = new forms::Label(*form, nullptr, QStringLiteral("Label1"));
    skin = new SF(*form, nullptr, QStringLiteral("SkinFrame1"));
    skin->storedProperties() = {{QStringLiteral("themecolor"), 3}, {QStringLiteral("style"), 3}};
    formProc = Proc(true);
    win32::SetWindowLongA(form->hWnd(), win32::GWL_WNDPROC, asLong(&formProc));
    form->show();
    ASSERT_NE(form->procedure(), &formProc) << "the frame hooked nothing";
    forms::WindowProc* procedureMeanwhile = nullptr;
    forms::Form* const window = form.get(); // the owner is empty while it destroys
    QObject::connect(older->widget(), &QObject::destroyed, [&] {
        procedureMeanwhile = window->procedure();
        win32::SendMessageA(window->hWnd(), wm::SetCursor, 0, 0);
    });
    const std::size_t before = formProc.seen.size();
    form.reset();
    EXPECT_EQ(procedureMeanwhile, &formProc);
    EXPECT_EQ(formProc.seen.size(), before + 1);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Hooks, AWindowThatIsNotHookedIsReportedAndNothingChanges)
{
    struct Case {
        std::function<void(SF&, forms::Handle)> run;
        const char* report;
    } const cases[] = {
        {[](SF& f, forms::Handle w) { f.Subclass_AddMsg(w, M, 3); }, "Subclass_AddMsg:9"},
        {[](SF& f, forms::Handle w) { f.Subclass_DelMsg(w, M, 3); }, "Subclass_DelMsg:9"},
        {[](SF& f, forms::Handle w) { f.Subclass_Stop(w); }, "Subclass_Stop:9"},
    };
    for (const Case& c : cases) {
        fresh();
        auto run = [&](forms::Handle w) { c.run(*probe, w); };
        // Before any hook the operation fails at once.
        run(h);
        EXPECT_EQ(reports, (std::vector<QString>{QString::fromLatin1(c.report)}));
        EXPECT_TRUE(peek(*probe).m_aHooks().empty());
        EXPECT_EQ(form->procedure(), &inner);

        reports.clear();
        descriptions.clear();
        probe->Subclass_Start(h);
        probe->Subclass_AddMsg(h, M + 1, SF::WHEN_AFTER);
        run(probe->hWnd()); // the frame's own window is not hooked
        EXPECT_EQ(reports, (std::vector<QString>{QStringLiteral("zIdx:0"), QString::fromLatin1(c.report)}));
        ASSERT_FALSE(descriptions.empty());
        EXPECT_EQ(descriptions[0], QStringLiteral("hWnd 不存在, 程序出错"));
        const frame::HookEntry& e = peek(*probe).m_aHooks()[0];
        EXPECT_EQ(e.hWnd, h);
        EXPECT_EQ(e.BeforeCount, 0);
        EXPECT_EQ(e.AfterMsgs, (std::vector<std::int32_t>{M + 1}));
        send(M);
        send(M + 1);
        EXPECT_EQ(probe->calls, (std::vector<Call>{{false, M + 1, 7, 1}}));
    }
    // Removing every hook before there is one ends quietly.
    fresh();
    probe->Subclass_Shutdown();
    EXPECT_TRUE(reports.empty());
}

// The three messages of the frame ------------------------------------------

TEST_F(Hooks, TheLeaveNotificationIsAskedForOncePerEntry)
{
    SF& f = framed();
    struct Step {
        unsigned msg;
        bool asks;
    } const steps[] = {
        {wm::MouseMove, true},   {wm::MouseMove, false}, {wm::MouseMove, false},
        {wm::MouseLeave, false}, {wm::MouseMove, true},  {wm::MouseLeave, false},
        {wm::MouseLeave, false}, {wm::MouseMove, true},  {wm::MouseMove, false},
    };
    int i = 0;
    for (const Step& s : steps) {
        f.clearLeave();
        win32::SendMessageA(f.hWnd(), s.msg, 0, forms::makeLParam(100, 150));
        EXPECT_EQ(f.leaveRequested(), s.asks) << i;
        EXPECT_EQ(peek(f).m_bMouseInside(), s.msg == wm::MouseMove) << i;
        ++i;
    }
}

TEST_F(Hooks, TheLeaveNotificationTakesTheHighlightOff)
{
    SF& f = framed();
    const SF::CapBtnEntry& close = peek(f).m_aCapBtn()[0];
    const int gx = close.Left + 1, gy = close.Top + 1; // inside the highlight's outline
    const std::int32_t bare = at(gx, gy);
    for (int round = 0; round < 2; ++round) {
        win32::SendMessageA(f.hWnd(), wm::MouseMove, 0, forms::makeLParam(close.Left + 9, close.Top + 9));
        EXPECT_EQ(peek(f).m_iLitBtn(), 0) << round;
        EXPECT_NE(at(gx, gy), bare) << round;
        EXPECT_EQ(f.mousePointer(), 99);
        win32::SendMessageA(f.hWnd(), wm::MouseLeave, 0, 0);
        EXPECT_EQ(peek(f).m_iLitBtn(), -1) << round;
        EXPECT_EQ(at(gx, gy), bare) << round;
        EXPECT_EQ(f.mousePointer(), 0);
    }
}

TEST_F(Hooks, SetCursorRefitsTheFrameAndRecordsOnlyTheNormalBounds)
{
    testsupport::setWorkAreaOverride(QRect(0, 0, 800, 600));
    SF& f = framed();
    win32::SendMessageA(f.hWnd(), wm::MouseMove, 0, forms::makeLParam(100, 150)); // makes the grips
    for (bool pseudo : {false, true}) {
        if (pseudo) {
            f.ToggleWindowState();
            ASSERT_EQ(peek(f).m_iWinState(), 2);
        } else {
            form->move(1500, 1200, 500 * Tw, 350 * Tw);
        }
        const SF::RectL saved = peek(f).m_rcRestore();
        f.move(0, 0, 100 * Tw, 50 * Tw); // out of fit
        win32::SendMessageA(form->hWnd(), wm::SetCursor, f.hWnd(), 1 | (wm::MouseMove << 16));
        EXPECT_FLOAT_EQ(f.width(), form->scaleWidth()) << pseudo;
        EXPECT_FLOAT_EQ(f.height(), form->scaleHeight()) << pseudo;
        EXPECT_EQ(img().size(), pseudo ? QSize(800, 600) : QSize(500, 350)) << pseudo;
        const SF::RectL expected = pseudo ? saved
                                          : SF::RectL{vb::toLong(form->left()), vb::toLong(form->top()),
                                                      vb::toLong(form->width()), vb::toLong(form->height())};
        EXPECT_EQ(peek(f).m_rcRestore().Left, expected.Left) << pseudo;
        EXPECT_EQ(peek(f).m_rcRestore().Top, expected.Top) << pseudo;
        EXPECT_EQ(peek(f).m_rcRestore().Width, expected.Width) << pseudo;
        EXPECT_EQ(peek(f).m_rcRestore().Height, expected.Height) << pseudo;
    }
    EXPECT_EQ(peek(f).m_rcRestore().Width, 500 * 15);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Hooks, WithoutALeaveTrackingFunctionNothingIsHookedAndTheTitleDoesNotDrag)
{
    struct Case {
        bool user32, comctl32; // the module exports its tracking function
        bool hooked, inUser32;
    } const cases[] = {
        {true, true, true, true},
        {false, true, true, false},
        {false, false, false, false},
    };
    for (const Case& c : cases) {
        testsupport::withdrawExport(QStringLiteral("User32"), QStringLiteral("TrackMouseEvent"), !c.user32);
        testsupport::withdrawExport(QStringLiteral("Comctl32"), QStringLiteral("_TrackMouseEvent"), !c.comctl32);
        SF& f = framed(true);
        formProc.swallow = wm::NcLButtonDown; // the drag would follow the real pointer
        const int n = c.user32 * 2 + c.comctl32;
        EXPECT_EQ(peek(f).m_bCanTrackLeave(), c.hooked) << n;
        EXPECT_EQ(peek(f).m_bTrackInUser32(), c.inUser32) << n;
        EXPECT_EQ(peek(f).m_aHooks().size(), c.hooked ? 2u : 0u) << n;
        EXPECT_EQ(f.procedure() != nullptr, c.hooked) << n;
        EXPECT_EQ(form->procedure() == &formProc, !c.hooked) << n;
        EXPECT_EQ(peek(f).m_bMoveable(), c.hooked) << n;
        EXPECT_EQ(form->borderStyle(), c.hooked ? 0 : 2) << n;
        EXPECT_TRUE(reports.empty()) << n;

        // A left-button move over the title starts a drag only when hooked.
        f.clearLeave();
        win32::SendMessageA(f.hWnd(), wm::MouseMove, forms::MkLButton, forms::makeLParam(100, 10));
        EXPECT_EQ(f.leaveRequested(), c.hooked) << n;
        EXPECT_EQ(formProc.count(wm::NcLButtonDown), c.hooked ? 1u : 0u) << n;
        form.reset();
    }
}

} // namespace
