#include "popped_tip.h"

#include <commctrl.h>

namespace {

TOOLINFOW ToolOf(HWND owner, std::wstring& text)
{
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = owner;
    tool.uId = 1;
    tool.lpszText = text.data();
    return tool;
}

// A tooltip window owned by `owner`, shown however the window is active.
HWND NewTooltip(HWND owner)
{
    return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                           0, 0, owner, nullptr, nullptr, nullptr);
}

TOOLINFOW HoverToolOf(HWND control, std::wstring& text)
{
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    return tool;
}

} // namespace

HoverTip::HoverTip(HWND control)
    : control(control)
    , tip(NewTooltip(GetParent(control)))
{
    TOOLINFOW tool = HoverToolOf(control, text);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void HoverTip::SetText(const std::wstring& newText)
{
    text = newText;
    TOOLINFOW tool = HoverToolOf(control, text);
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void HoverTip::SetMaxWidth(int pixels)
{
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, pixels);
}

PoppedTip::PoppedTip(HWND owner)
    : owner(owner)
    , text(1, L' ')
{
    tip = NewTooltip(owner);
    TOOLINFOW tool = ToolOf(owner, text);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void PoppedTip::Show(HWND control, const std::wstring& newText)
{
    text = newText;
    TOOLINFOW tool = ToolOf(owner, text);
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT box{};
    GetWindowRect(control, &box);
    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(box.left, box.bottom));
    SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    shown = true;
}

void PoppedTip::Hide()
{
    if (!shown) {
        return;
    }
    TOOLINFOW tool = ToolOf(owner, text);
    SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    shown = false;
}

void PoppedTip::SetMaxWidth(int pixels)
{
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, pixels);
}
