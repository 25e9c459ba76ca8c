// The date box DtP: a typed box that the library reads, and a month calendar
// that drops from it, from the keyboard (Alt+Down or F4, as Windows' own date
// pickers open) or from the small button at its right. The calendar starts on
// the box's date; Enter or a click on a day writes that day into the box, and
// Escape or a click elsewhere closes it. Up and Down step the day, month or
// year the cursor is in.
#pragma once

#include <windows.h>

#include <chrono>

// Today's date on this computer's clock.
std::chrono::year_month_day Today();

class DateBox
{
public:
    // Takes over the edit `box`.
    explicit DateBox(HWND box);
    DateBox(const DateBox&) = delete;
    DateBox& operator=(const DateBox&) = delete;

    void OpenCalendar();

    // The form's WM_NOTIFY: true when it was the calendar's, and handled.
    bool Notified(const NMHDR& header);

    // Draws the drop button, for the form's WM_DRAWITEM.
    static void DrawDropButton(const DRAWITEMSTRUCT& item);

private:
    static LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK CalendarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    // The calendar's keys: arrows move the day, Enter takes it, Escape closes.
    bool CalendarKey(WPARAM key);
    // Up (1) or Down (-1): the day, month or year the cursor is in a step on
    // or back.
    void StepDate(int steps);
    // Writes `day` into the box, as typed, and gives the box the focus back.
    void Take(const SYSTEMTIME& day);

    HWND box;
    HWND calendar = nullptr;
};
