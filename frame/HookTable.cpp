#include "frame/HookTable.h"

#include "vb/Failure.h"

namespace frame {

HookEntry& HookTable::at(std::int32_t i)
{
    if (i < 0 || i >= static_cast<std::int32_t>(entries_.size()))
        vb::raise(vb::err::SubscriptOutOfRange);
    return entries_[static_cast<std::size_t>(i)];
}

const HookEntry& HookTable::at(std::int32_t i) const
{
    if (i < 0 || i >= static_cast<std::int32_t>(entries_.size()))
        vb::raise(vb::err::SubscriptOutOfRange);
    return entries_[static_cast<std::size_t>(i)];
}

std::int32_t HookTable::find(forms::Handle h) const
{
    for (auto i = static_cast<std::int32_t>(entries_.size()) - 1; i >= 0; --i)
        if (entries_[static_cast<std::size_t>(i)].hWnd == h)
            return i;
    return -1;
}

std::int32_t HookTable::grow()
{
    entries_.emplace_back();
    return static_cast<std::int32_t>(entries_.size()) - 1;
}

void HookTable::release(std::int32_t i)
{
    // ThunkAddr and PrevWndProc keep their values; nothing reads them while
    // the slot is free.
    HookEntry& e = at(i);
    e.hWnd = 0;
    e.BeforeCount = 0;
    e.AfterCount = 0;
    e.BeforeMsgs.clear();
    e.AfterMsgs.clear();
}

void HookTable::addMessage(std::int32_t uMsg, std::vector<std::int32_t>& table, std::int32_t& count)
{
    if (uMsg == ANY_MESSAGE) {
        count = -1;
        return;
    }
    if (count < 0)
        vb::raise(vb::err::SubscriptOutOfRange); // a table that already takes every message
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t& entry = table[static_cast<std::size_t>(i)];
        if (entry == 0) {
            entry = uMsg;
            return;
        }
        if (entry == uMsg)
            return;
    }
    ++count;
    table.resize(static_cast<std::size_t>(count));
    table.back() = uMsg;
}

void HookTable::deleteMessage(std::int32_t uMsg, std::vector<std::int32_t>& table, std::int32_t& count)
{
    if (uMsg == ANY_MESSAGE) {
        count = 0;
        return;
    }
    for (std::int32_t i = 0; i < count; ++i)
        if (table[static_cast<std::size_t>(i)] == uMsg) {
            table[static_cast<std::size_t>(i)] = 0;
            return;
        }
}

bool HookTable::listed(std::int32_t uMsg, const std::vector<std::int32_t>& table, std::int32_t count)
{
    if (count < 0)
        return true;
    for (std::int32_t i = 0; i < count && i < static_cast<std::int32_t>(table.size()); ++i)
        if (table[static_cast<std::size_t>(i)] == uMsg)
            return true;
    return false;
}

} // namespace frame
