// frm_CURP on Windows' own controls: the same window as ui/'s, built from the
// same layout table, computing through the library's one door (curp/person.h).
#pragma once

#include <windows.h>

#include <array>
#include <string>

class frm_CURP
{
public:
    // Creates the window, centred on the screen, with its controls; not shown.
    explicit frm_CURP(HINSTANCE instance);
    ~frm_CURP();
    frm_CURP(const frm_CURP&) = delete;
    frm_CURP& operator=(const frm_CURP&) = delete;

    HWND hwnd() const noexcept
    {
        return window;
    }

    // Shows the window with the focus on Txt (0).
    void Show(int showCommand);

    // The address lblweb opens, and the text it shows.
    static const wchar_t* webAddress() noexcept;
    static const wchar_t* webText() noexcept;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void Form_Load();
    void CmdCalc_Click();
    void Txt_GotFocus(int Index);
    void lblweb_Click();

    // Sizes the window and places every control for `dpi` dots per inch.
    void PlaceControls(UINT dpi);
    void Paint();
    // Shows `key` in the mask; red, with `why` in its tooltip, when doubtful.
    void ShowKey(const std::string& key, const std::wstring& why, bool doubtful);

    HINSTANCE instance;
    HWND window = nullptr;
    HWND tooltip = nullptr;
    std::array<HFONT, 4> fonts{}; // the form's, the brand's, the link's, the date's
    HICON logo = nullptr;
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    bool doubtful = false;
    std::wstring why;
};
