// What the Timer page's list shows of an event, and the order its columns
// sort in. Windowless, so the texts and the order are checked without a page.
#pragma once

#include <windows.h>

#include <string>

#include "core/TimerEvent.h"

// "16:00-20:00 ", "starts 16:00 ", "ends 20:00 " or "no time ".
std::string EventTimeText(const TimerEvent& event);
// "daily", "weekday", "weekend", "noDays", else the set days' letters
// Sunday to Saturday run together ("MF").
std::string EventDaysText(int days);
// Column 0 of the row for the event at position: the number, four blanks.
std::string EventNumberText(int position);
// The number read back from column 0; 0 when there is none.
int EventNumberOf(const std::string& text);

// The list columns the rows sort by.
enum TimerColumn { kColumnNumber = 0, kColumnTime = 1, kColumnNewFile = 2, kColumnName = 3 };
constexpr LPARAM kSortAscending = 0x100;

class ListComparator {
public:
    // first and second: the rows' item data (positions in PageEvents);
    // how: the column in the low 8 bits, kSortAscending for ascending order.
    // Rows whose event is missing compare equal.
    static int Compare(LPARAM first, LPARAM second, LPARAM how);
};
