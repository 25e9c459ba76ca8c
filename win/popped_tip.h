// The window's tooltips: a control's own, shown while the mouse rests on it,
// and one that opens by itself under a control, not waiting for the mouse,
// and stays until it is hidden: the reasons for a key, a refused copy.
#pragma once

#include <windows.h>

#include <string>

class HoverTip
{
public:
    // The tooltip of `control`, empty until SetText.
    explicit HoverTip(HWND control);
    HoverTip(const HoverTip&) = delete;
    HoverTip& operator=(const HoverTip&) = delete;

    void SetText(const std::wstring& newText);
    const std::wstring& Text() const noexcept
    {
        return text;
    }
    // The widest a line may be before it wraps, in pixels.
    void SetMaxWidth(int pixels);

private:
    HWND control;
    HWND tip = nullptr;
    std::wstring text;
};

class PoppedTip
{
public:
    explicit PoppedTip(HWND owner);
    PoppedTip(const PoppedTip&) = delete;
    PoppedTip& operator=(const PoppedTip&) = delete;

    // Shows `text` (lines separated by "\r\n") just below `control`.
    void Show(HWND control, const std::wstring& text);
    void Hide();
    bool Shown() const noexcept
    {
        return shown;
    }
    // The widest a line may be before it wraps, in pixels.
    void SetMaxWidth(int pixels);

private:
    HWND owner;
    HWND tip = nullptr;
    std::wstring text;
    bool shown = false;
};
