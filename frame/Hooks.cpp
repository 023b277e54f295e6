#include "frame/SkinFrame.h"

#include "forms/Form.h"
#include "vb/Conversions.h"
#include "win32/Win32.h"

namespace frame {

using namespace win32;

// The interception in front of a hooked window's procedure: the before
// pass, the window's own procedure, the after pass. It is shared: a
// message passing through keeps it alive, so a hook removed from inside
// one of its own messages (the window closed by its close button) is freed
// only when that message has returned.
class Interception : public forms::WindowProc, public std::enable_shared_from_this<Interception> {
public:
    Interception(forms::Handle frame, std::size_t slot) : frame_(frame), slot_(slot) {}

    qintptr call(forms::Handle hWnd, unsigned msg, quintptr wParam, qintptr lParam) override
    {
        const std::shared_ptr<Interception> keep = shared_from_this();
        std::int32_t lReturn = 0;
        bool bHandled = false;
        forms::Handle h = hWnd;
        auto uMsg = static_cast<std::int32_t>(msg);
        pass(true, bHandled, lReturn, h, uMsg, wParam, lParam);
        if (!bHandled) {
            lReturn =
                static_cast<std::int32_t>(CallWindowProcA(previous, h, static_cast<unsigned>(uMsg), wParam, lParam));
            pass(false, bHandled, lReturn, h, uMsg, wParam, lParam);
        }
        return lReturn;
    }

    // The procedure messages are passed on to. When that is another
    // interception (a window hooked twice) it is held too: removing both
    // from inside a message on its way through this one must not free the
    // one it is about to enter.
    void chain(WNDPROC prev)
    {
        previous = prev;
        if (auto* hook = dynamic_cast<Interception*>(prev))
            previousHook_ = hook->shared_from_this();
    }

    WNDPROC previous = nullptr;
    // Zero once the hook is removed: a message still on its way calls the
    // frame no more.
    bool live = true;

private:
    void pass(bool before, bool& bHandled, std::int32_t& lReturn, forms::Handle& h, std::int32_t& uMsg,
              quintptr& wParam, qintptr& lParam)
    {
        if (!live)
            return;
        auto* f = dynamic_cast<SkinFrame*>(forms::fromHandle(frame_));
        if (!f || slot_ >= f->m_aHooks.size())
            return;
        const HookEntry& e = f->m_aHooks[slot_];
        if (!HookTable::listed(uMsg, before ? e.BeforeMsgs : e.AfterMsgs, before ? e.BeforeCount : e.AfterCount))
            return;
        // A failure ends the callback for this message; the message keeps
        // the result it had.
        vb::skipOnFailure([&] { f->zSubclass_Proc(before, bHandled, lReturn, h, uMsg, wParam, lParam); });
    }

    forms::Handle frame_;
    std::size_t slot_;
    std::shared_ptr<Interception> previousHook_;
};

void SkinFrame::zSubclass_Proc(bool, bool&, std::int32_t&, forms::Handle& lng_hWnd, std::int32_t& uMsg, quintptr&,
                               qintptr&)
{
    switch (uMsg) {
    case WM_SETCURSOR: {
        forms::Form& f = parentForm();
        move(0, 0, f.scaleWidth(), f.scaleHeight());
        if (m_iWinState == 0)
            m_rcRestore = {vb::toLong(f.left()), vb::toLong(f.top()), vb::toLong(f.width()), vb::toLong(f.height())};
        break;
    }
    case WM_MOUSEMOVE:
        if (!m_bMouseInside) {
            m_bMouseInside = true;
            TrackMouseLeave(lng_hWnd);
        }
        break;
    case WM_MOUSELEAVE:
        m_bMouseInside = false;
        PaintCaptionBtns(-1);
        m_iLitBtn = -1;
        break;
    default: break;
    }
}

std::int32_t SkinFrame::zIdx(forms::Handle lng_hWnd, bool bAdd)
{
    const std::int32_t i = m_aHooks.find(bAdd ? 0 : lng_hWnd);
    if (i >= 0)
        return i;
    if (!bAdd)
        ReportError(true, QStringLiteral("0"), QStringLiteral("hWnd 不存在, 程序出错"), QStringLiteral("SkinFrame"),
                    QStringLiteral("zIdx"));
    return -1;
}

std::int32_t SkinFrame::Subclass_Start(forms::Handle lng_hWnd)
{
    std::int32_t slot = -1;
    reportOnFailure("Subclass_Start", [&] {
        if (m_aHooks.empty()) {
            slot = m_aHooks.grow();
        } else {
            slot = zIdx(lng_hWnd, true);
            if (slot < 0)
                slot = m_aHooks.grow();
        }
        HookEntry& e = m_aHooks.at(slot);
        if (!forms::fromHandle(lng_hWnd))
            vb::raise(vb::err::InvalidCall); // no window: the slot stays free
        e.hWnd = lng_hWnd;
        e.ThunkAddr = std::make_shared<Interception>(hWnd(), static_cast<std::size_t>(slot));
        e.PrevWndProc = reinterpret_cast<WNDPROC>(SetWindowLongA(
            lng_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(static_cast<forms::WindowProc*>(e.ThunkAddr.get()))));
        e.ThunkAddr->chain(e.PrevWndProc);
    });
    return slot;
}

void SkinFrame::Subclass_AddMsg(forms::Handle lng_hWnd, std::int32_t uMsg, std::int32_t When)
{
    reportOnFailure("Subclass_AddMsg", [&] {
        if (m_aHooks.empty())
            vb::raise(vb::err::SubscriptOutOfRange);
        HookEntry& e = m_aHooks.at(zIdx(lng_hWnd, false));
        if (When & WHEN_BEFORE)
            zAddMsg(uMsg, e.BeforeMsgs, e.BeforeCount, WHEN_BEFORE, e.ThunkAddr.get());
        if (When & WHEN_AFTER)
            zAddMsg(uMsg, e.AfterMsgs, e.AfterCount, WHEN_AFTER, e.ThunkAddr.get());
    });
}

void SkinFrame::Subclass_DelMsg(forms::Handle lng_hWnd, std::int32_t uMsg, std::int32_t When)
{
    reportOnFailure("Subclass_DelMsg", [&] {
        if (m_aHooks.empty())
            vb::raise(vb::err::SubscriptOutOfRange);
        HookEntry& e = m_aHooks.at(zIdx(lng_hWnd, false));
        if (When & WHEN_BEFORE)
            zDelMsg(uMsg, e.BeforeMsgs, e.BeforeCount, WHEN_BEFORE, e.ThunkAddr.get());
        if (When & WHEN_AFTER)
            zDelMsg(uMsg, e.AfterMsgs, e.AfterCount, WHEN_AFTER, e.ThunkAddr.get());
    });
}

void SkinFrame::zAddMsg(std::int32_t uMsg, std::vector<std::int32_t>& aMsgTbl, std::int32_t& nMsgCnt, std::int32_t,
                        Interception*)
{
    // The interception reads the table and its count in place, so growing
    // the table needs nothing written into it.
    reportOnFailure("zAddMsg", [&] { HookTable::addMessage(uMsg, aMsgTbl, nMsgCnt); });
}

void SkinFrame::zDelMsg(std::int32_t uMsg, std::vector<std::int32_t>& aMsgTbl, std::int32_t& nMsgCnt, std::int32_t,
                        Interception*)
{
    reportOnFailure("zDelMsg", [&] { HookTable::deleteMessage(uMsg, aMsgTbl, nMsgCnt); });
}

void SkinFrame::Subclass_Stop(forms::Handle lng_hWnd)
{
    reportOnFailure("Subclass_Stop", [&] {
        if (m_aHooks.empty())
            vb::raise(vb::err::SubscriptOutOfRange);
        const std::int32_t i = zIdx(lng_hWnd, false);
        HookEntry& e = m_aHooks.at(i);
        SetWindowLongA(e.hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(e.PrevWndProc));
        if (e.ThunkAddr)
            e.ThunkAddr->live = false;
        e.ThunkAddr.reset();
        m_aHooks.release(i);
    });
}

void SkinFrame::Subclass_Shutdown()
{
    // Newest first; each removal reports and ends its own failure.
    for (auto i = static_cast<std::int32_t>(m_aHooks.size()) - 1; i >= 0; --i)
        if (m_aHooks[static_cast<std::size_t>(i)].hWnd != 0)
            Subclass_Stop(m_aHooks[static_cast<std::size_t>(i)].hWnd);
}

bool SkinFrame::IsFunctionExported(const QString& sFunction, const QString& sModule)
{
    bool exported = false;
    reportOnFailure("IsFunctionExported", [&] {
        bool loadedHere = false;
        HMODULE module = GetModuleHandleA(sModule);
        if (module == 0) {
            module = LoadLibraryA(sModule);
            loadedHere = module != 0;
        }
        if (module != 0)
            exported = GetProcAddress(module, sFunction) != 0;
        if (loadedHere)
            FreeLibrary(module);
    });
    return exported;
}

void SkinFrame::TrackMouseLeave(forms::Handle lng_hWnd)
{
    reportOnFailure("TrackMouseLeave", [&] {
        if (!m_bCanTrackLeave)
            return;
        TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE, lng_hWnd, 0};
        if (m_bTrackInUser32)
            TrackMouseEvent(&request);
        else
            _TrackMouseEvent(&request);
    });
}

} // namespace frame
