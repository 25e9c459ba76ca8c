// frm_CURP on Windows' own controls: the same window as ui/'s, built from the
// same layout table, computing through the library's one door (curp/person.h).
#pragma once

#include "date_box.h"
#include "key_box.h"
#include "popped_tip.h"
#include "type_ahead.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

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

    // The window's own warnings about the data, before the library's doubts.
    std::vector<std::string> Warnings() const;
    // Any change of a box or list once the window holds its controls.
    void DataChanged(int id);
    // The entry of CmbSexo the words typed point to; a lone "m" points to
    // none, and says why.
    int SearchSexo(const std::string& typed);

    // Sizes the window and places every control for `dpi` dots per inch.
    void PlaceControls(UINT dpi);
    void Paint();
    // The sex list's tooltip: the letter its entry gives the key.
    void DescribeSex();

    HINSTANCE instance;
    HWND window = nullptr;
    std::array<HFONT, 4> fonts{}; // the form's, the brand's, the link's, the date's
    HICON logo = nullptr;
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<PoppedTip> poppedTip;
    std::unique_ptr<KeyBox> txtCURP;
    std::unique_ptr<DateBox> DtP;
    std::unique_ptr<TypeAhead> CmbSexo;
    std::unique_ptr<TypeAhead> CmbEnt;
    std::unique_ptr<HoverTip> sexTip;
    bool dateEdited = false; // DtP no longer holds its initial date untouched
    bool sexInDoubt = false; // the popped tip says why a lone "m" picks nothing
};
