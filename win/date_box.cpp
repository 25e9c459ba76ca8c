#include "date_box.h"

#include "text.h"

#include "curp/dates.h"

#include <commctrl.h>

#include <array>
#include <cwchar>

namespace {

SYSTEMTIME DayOf(std::chrono::year_month_day date)
{
    SYSTEMTIME day{};
    day.wYear = static_cast<WORD>(static_cast<int>(date.year()));
    day.wMonth = static_cast<WORD>(static_cast<unsigned>(date.month()));
    day.wDay = static_cast<WORD>(static_cast<unsigned>(date.day()));
    return day;
}

std::chrono::year_month_day DateOf(const SYSTEMTIME& day)
{
    return std::chrono::year{day.wYear} / std::chrono::month{day.wMonth} /
           std::chrono::day{day.wDay};
}

// The calendar's days as the person sees them: years 1601 to 9999.
void LimitToBirthYears(HWND calendar)
{
    using std::chrono::December;
    using std::chrono::January;
    const std::array range{DayOf(curp::kBirthYears.first / January / 1),
                           DayOf(curp::kBirthYears.last / December / 31)};
    SendMessageW(calendar, MCM_SETRANGE, GDTR_MIN | GDTR_MAX,
                 reinterpret_cast<LPARAM>(range.data()));
}

// `date` moved `steps` days, months (part 1) or years (part 2); a day past
// the new month's end becomes its last day. Nothing outside kBirthYears.
bool Step(std::chrono::year_month_day& date, int part, int steps)
{
    using namespace std::chrono;
    year_month_day moved = part == 1   ? date + months{steps}
                           : part == 2 ? date + years{steps}
                                       : year_month_day{sys_days{date} + days{steps}};
    if (!moved.ok()) {
        moved = moved.year() / moved.month() / last;
    }
    if (!moved.ok() || !curp::kBirthYears.Contains(moved.year())) {
        return false;
    }
    date = moved;
    return true;
}

// A date as the box shows it: 23/04/1975.
std::wstring Shown(const SYSTEMTIME& day)
{
    std::array<wchar_t, 16> text{};
    std::swprintf(text.data(), text.size(), L"%02u/%02u/%04u", day.wDay, day.wMonth, day.wYear);
    return text.data();
}

} // namespace

std::chrono::year_month_day Today()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return DateOf(now);
}

DateBox::DateBox(HWND box)
    : box(box)
{
    SetWindowSubclass(box, &DateBox::BoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void DateBox::OpenCalendar()
{
    if (calendar != nullptr) {
        return;
    }
    const HWND form = GetAncestor(box, GA_ROOT);
    calendar = CreateWindowExW(WS_EX_TOOLWINDOW, MONTHCAL_CLASSW, L"", WS_POPUP | WS_BORDER, 0, 0,
                               0, 0, form, nullptr, nullptr, nullptr);
    SetWindowSubclass(calendar, &DateBox::CalendarProc, 0, reinterpret_cast<DWORD_PTR>(this));
    SendMessageW(calendar, WM_SETFONT, SendMessageW(box, WM_GETFONT, 0, 0), FALSE);
    LimitToBirthYears(calendar);
    // On the box's date, when it holds one; otherwise on today.
    const curp::DateReading reading =
        curp::ReadDate(TextOf(box), curp::DateOrder::DayMonthYear, Today());
    if (reading.ok()) {
        const SYSTEMTIME day = DayOf(reading.date);
        SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
    }
    // Just below the box, as large as one month needs, over the reasons
    // shown for the key.
    RECT size{};
    SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&size));
    AdjustWindowRectEx(&size, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    RECT place{};
    GetWindowRect(box, &place);
    SetWindowPos(calendar, HWND_TOPMOST, place.left, place.bottom, size.right - size.left,
                 size.bottom - size.top, SWP_SHOWWINDOW);
    SetFocus(calendar);
}

bool DateBox::Notified(const NMHDR& header)
{
    if (calendar == nullptr || header.hwndFrom != calendar || header.code != MCN_SELECT) {
        return false;
    }
    // A click on a day.
    Take(reinterpret_cast<const NMSELCHANGE&>(header).stSelStart);
    return true;
}

void DateBox::Take(const SYSTEMTIME& day)
{
    SetWindowTextW(box, Shown(day).c_str());
    // The calendar closes as it loses the focus.
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
}

bool DateBox::CalendarKey(WPARAM key)
{
    SYSTEMTIME day{};
    SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
    int days = 0;
    switch (key) {
    case VK_RETURN:
        Take(day);
        return true;
    case VK_ESCAPE:
        SetFocus(box);
        return true;
    case VK_LEFT:
        days = -1;
        break;
    case VK_RIGHT:
        days = 1;
        break;
    case VK_UP:
        days = -7;
        break;
    case VK_DOWN:
        days = 7;
        break;
    default:
        return false;
    }
    const SYSTEMTIME moved = DayOf(std::chrono::sys_days{DateOf(day)} + std::chrono::days{days});
    SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&moved));
    return true;
}

void DateBox::DrawDropButton(const DRAWITEMSTRUCT& item)
{
    RECT place = item.rcItem;
    const UINT pushed = (item.itemState & ODS_SELECTED) != 0 ? DFCS_PUSHED : 0;
    DrawFrameControl(item.hDC, &place, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | pushed);
}

void DateBox::StepDate(int steps)
{
    // The part the cursor is in, or just after, of the date as shown: the
    // year, the month, else the day. A date typed otherwise is first shown
    // so, the cursor at its end, in the year.
    const std::string typed = TextOf(box);
    const curp::DateReading reading = curp::ReadDate(typed, curp::DateOrder::DayMonthYear, Today());
    if (!reading.ok()) {
        return;
    }
    const std::wstring text = Shown(DayOf(reading.date));
    DWORD cursor = 0;
    SendMessageW(box, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&cursor));
    if (Wide(typed) != text) {
        cursor = static_cast<DWORD>(text.size());
    }
    const int part = cursor >= 6 ? 2 : cursor >= 3 ? 1 : 0;
    std::chrono::year_month_day date = reading.date;
    if (!Step(date, part, steps)) {
        return;
    }
    SetWindowTextW(box, Shown(DayOf(date)).c_str());
    SendMessageW(box, EM_SETSEL, cursor, cursor);
}

LRESULT CALLBACK DateBox::BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR /*id*/, DWORD_PTR self)
{
    const bool altDown = message == WM_SYSKEYDOWN && wParam == VK_DOWN;
    const bool f4 = message == WM_KEYDOWN && wParam == VK_F4;
    if (altDown || f4) {
        reinterpret_cast<DateBox*>(self)->OpenCalendar();
        return 0;
    }
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        reinterpret_cast<DateBox*>(self)->StepDate(wParam == VK_UP ? 1 : -1);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &DateBox::BoxProc, 0);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK DateBox::CalendarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR /*id*/, DWORD_PTR self)
{
    auto* dateBox = reinterpret_cast<DateBox*>(self);
    switch (message) {
    case WM_KEYDOWN:
        if (dateBox->CalendarKey(wParam)) {
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        // Not when the focus goes to a part of the calendar (its year's box).
        if (IsChild(hwnd, reinterpret_cast<HWND>(wParam)) == FALSE) {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_NCDESTROY:
        dateBox->calendar = nullptr;
        RemoveWindowSubclass(hwnd, &DateBox::CalendarProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
