#pragma once

#include "forms/Window.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace frame {

class Interception;

// A hooked window's entry: the interception in front of its procedure and
// the messages seen before and after it.
struct HookEntry {
    forms::Handle hWnd = 0; // 0: a free slot
    std::shared_ptr<Interception> ThunkAddr;
    forms::WindowProc* PrevWndProc = nullptr;
    std::int32_t AfterCount = 0; // -1: every message
    std::int32_t BeforeCount = 0;
    std::vector<std::int32_t> AfterMsgs; // entry 1 at [0]; an entry 0 is free
    std::vector<std::int32_t> BeforeMsgs;
};

// The frame's hooked windows, one entry each. It exists from the first hook
// on, grows by one entry at the end when no slot is free and never shrinks:
// an entry keeps its index for as long as the frame lives, which is what
// the interceptions rely on to find their tables.
class HookTable {
public:
    static constexpr std::int32_t ANY_MESSAGE = -1;

    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    const HookEntry& operator[](std::size_t i) const { return entries_[i]; }
    std::vector<HookEntry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<HookEntry>::const_iterator end() const { return entries_.end(); }

    // The entry at index i; failure 9 (subscript out of range) outside the
    // table, -1 (nothing found) included.
    HookEntry& at(std::int32_t i);
    const HookEntry& at(std::int32_t i) const;

    // The highest index whose window is h, so of two entries for one window
    // the newer; h 0 finds the free slot with the highest index. -1: none.
    std::int32_t find(forms::Handle h) const;
    // One entry more at the end; its index.
    std::int32_t grow();
    // The entry's slot made free again; its tables emptied.
    void release(std::int32_t i);

    // The table rules, on one message table and its count. Adding takes
    // the first entry that is free or already holds the message, or grows
    // the table by one; ANY_MESSAGE sets the count to -1. Adding a single
    // message to a table of every message fails with 9.
    static void addMessage(std::int32_t uMsg, std::vector<std::int32_t>& table, std::int32_t& count);
    // Deleting frees the first entry holding the message; ANY_MESSAGE sets
    // the count to 0 and leaves the entries, unread.
    static void deleteMessage(std::int32_t uMsg, std::vector<std::int32_t>& table, std::int32_t& count);
    // Whether a pass with this table calls the frame for the message: every
    // message at -1, else the message among the first `count` entries (a
    // freed entry matches message 0).
    static bool listed(std::int32_t uMsg, const std::vector<std::int32_t>& table, std::int32_t count);

private:
    std::vector<HookEntry> entries_;
};

} // namespace frame
