#include "frm_curp.h"

#include "text.h"

#include "curp/check.h"
#include "curp/explain.h"
#include "curp/person.h"
#include "curp/sex.h"
#include "curp/states.h"
#include "curp/window_texts.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

constexpr int kTwipsPerInch = 1440;
const wchar_t* const kClassName = L"Llave.frm_CURP";

// The controls' ids. "Calcular" is IDOK, the one Enter presses.
enum ControlId : int {
    kLbl = 100, // Lbl (0) to (5): 100 to 105
    kTxt = 110, // Txt (0) to (2): 110 to 112
    kDtP = 113,
    kCmbSexo = 114,
    kCmbEnt = 115,
    kCmdCalc = IDOK,
    kTxtCURP = 116,
    kImage1 = 117,
    kBrand = 118, // lblBrand (0) and (1): 118 and 119
    kWeb = 120,
    kDtPDrop = 121, // the date box's button that drops its calendar
};

enum FontId : int { kForm, kBrandFont, kLinkFont, kDateFont };

struct Control {
    int id;
    const wchar_t* kind;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    int left, top, width, height; // twips
    FontId font;
};

const wchar_t* const kWebText = L"www.gob.mx/curp";
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;

// The form as it was drawn, in twips, in the order of the focus and of the
// controls on screen: each label just before its input, so that screen
// readers name the input by it. Labels take no focus, and neither does the
// date box's drop button, which takes the last 240 twips of its width.
// clang-format off
const Control kControls[] = {
    // id          kind          text           style                     exStyle            Left   Top  Width Height font
    {kLbl + 0,     WC_STATICW,   L"A. Paterno", kLabel,                   0,                  240, 1080,   780,  195, kForm},
    {kTxt + 0,     WC_EDITW,     L"",           kBox | ES_UPPERCASE,      WS_EX_CLIENTEDGE,  1200, 1080,  3735,  315, kForm},
    {kLbl + 1,     WC_STATICW,   L"A. Materno", kLabel,                   0,                  240, 1440,   810,  195, kForm},
    {kTxt + 1,     WC_EDITW,     L"",           kBox | ES_UPPERCASE,      WS_EX_CLIENTEDGE,  1200, 1440,  3735,  315, kForm},
    {kLbl + 2,     WC_STATICW,   L"Nombre(s)",  kLabel,                   0,                  240, 1800,   750,  195, kForm},
    {kTxt + 2,     WC_EDITW,     L"",           kBox | ES_UPPERCASE,      WS_EX_CLIENTEDGE,  1200, 1800,  3735,  315, kForm},
    {kLbl + 3,     WC_STATICW,   L"Fecha Nac.", kLabel,                   0,                  240, 2280,   810,  195, kForm},
    {kDtP,         WC_EDITW,     L"",           kBox,                     WS_EX_CLIENTEDGE,  1200, 2280,  1095,  315, kDateFont},
    {kDtPDrop,     WC_BUTTONW,   L"Calendario", BS_OWNERDRAW,             0,                 2295, 2280,   240,  315, kForm},
    {kLbl + 4,     WC_STATICW,   L"Sexo",       kLabel,                   0,                  240, 2640,   360,  195, kForm},
    {kCmbSexo,     WC_COMBOBOXW, L"",           kList,                    0,                 1200, 2640,  1815,  315, kForm},
    {kLbl + 5,     WC_STATICW,   L"Entidad",    kLabel,                   0,                  240, 3000,   540,  195, kForm},
    {kCmbEnt,      WC_COMBOBOXW, L"",           kList,                    0,                 1200, 3000,  3615,  315, kForm},
    {kCmdCalc,     WC_BUTTONW,   L"Calcular",   WS_TABSTOP | BS_DEFPUSHBUTTON, 0,             120, 3840,   975,  375, kForm},
    {kTxtCURP,     WC_EDITW,     L"",           kBox | ES_READONLY,       WS_EX_CLIENTEDGE,  1200, 3840,  3855,  315, kForm},
    {kImage1,      WC_STATICW,   L"",           SS_ICON | SS_REALSIZECONTROL, 0,              120,  120,   480,  480, kForm},
    {kBrand + 0,   WC_STATICW,   L"Llave",      kLabel,                   0,                  720,  120,  1065,  285, kBrandFont},
    {kBrand + 1,   WC_STATICW,   L"Clave Única de Registro de Población", kLabel, 0,          720,  360,  3585,  195, kForm},
    {kWeb,         WC_STATICW,   kWebText,      kLabel | SS_NOTIFY,  0,                         720,  540,  1320,  195, kLinkFont},
};
// The client area, and the etched separator's two lines (Line1 in the
// button shadow's colour, Line2 a pixel below in the highlight's).
constexpr int kClientWidth = 5205, kClientHeight = 4470;
constexpr int kLineLeft = 120, kLineRight = 5040, kLine1Top = 3600, kLine2Top = 3615;
// clang-format on

// The key's letter for the sex list's entry: "0:Masculino" H, "1:Femenino" M.
const char* SexLetter(LRESULT entry)
{
    return entry == 0 ? "H" : "M";
}

// How far an open list reaches below its box, in twips.
constexpr int kListDrop = 3000;

HFONT MakeFont(const wchar_t* face, int hundredthsOfPoint, int weight, bool underline, UINT dpi)
{
    return CreateFontW(-MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200), 0, 0, 0, weight,
                       FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face);
}

// `text` as a sentence on a line of its own: its first letter in upper case.
std::wstring Sentence(std::wstring text)
{
    if (!text.empty()) {
        CharUpperBuffW(text.data(), 1);
    }
    return text;
}

} // namespace

namespace Module1 {

// Asks the shell to open `address` with its default handler; a failure is ignored.
void OpenLink(const wchar_t* address, HWND owner)
{
    ShellExecuteW(owner, L"open", address, L"", L"", SW_SHOWNORMAL);
}

} // namespace Module1

frm_CURP::frm_CURP(HINSTANCE instance)
    : instance(instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &frm_CURP::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    windowClass.hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    RegisterClassExW(&windowClass);

    // A fixed single border, no minimize and no maximize button.
    CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"Generación de CURP",
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                    nullptr, nullptr, instance, this);
    for (const Control& control : kControls) {
        CreateWindowExW(control.exStyle, control.kind, control.text,
                        WS_CHILD | WS_VISIBLE | control.style, 0, 0, 0, 0, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance,
                        nullptr);
    }
    for (const wchar_t* sex : {L"0:Masculino", L"1:Femenino"}) {
        SendDlgItemMessageW(window, kCmbSexo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(sex));
    }
    for (const curp::State& state : curp::States()) {
        const std::wstring entry = Wide(curp::StateEntry(state));
        SendDlgItemMessageW(window, kCmbEnt, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(entry.c_str()));
    }

    // What the boxes and lists do beyond Windows' own controls.
    poppedTip = std::make_unique<PoppedTip>(window);
    txtCURP = std::make_unique<KeyBox>(GetDlgItem(window, kTxtCURP), *poppedTip);
    DtP = std::make_unique<DateBox>(GetDlgItem(window, kDtP));
    CmbSexo =
        std::make_unique<TypeAhead>(GetDlgItem(window, kCmbSexo),
                                    [this](const std::string& typed) { return SearchSexo(typed); });
    CmbEnt = std::make_unique<TypeAhead>(GetDlgItem(window, kCmbEnt), [](const std::string& typed) {
        const curp::State* state = curp::SearchState(typed);
        return state != nullptr ? static_cast<int>(state - curp::States().data()) : -1;
    });
    SetDlgItemTextW(window, kDtP, Wide(curp::kInitialDateText).c_str());
    dateEdited = false;
    sexTip = std::make_unique<HoverTip>(GetDlgItem(window, kCmbSexo));

    // The system's dots per inch (the manifest makes the program aware of them).
    const HDC screen = GetDC(nullptr);
    PlaceControls(static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY)));
    ReleaseDC(nullptr, screen);

    // Opens centred on the screen.
    RECT frame{};
    GetWindowRect(window, &frame);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(window, nullptr, (work.left + work.right - (frame.right - frame.left)) / 2,
                 (work.top + work.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    Form_Load();
}

frm_CURP::~frm_CURP()
{
    if (IsWindow(window) != FALSE) {
        DestroyWindow(window);
    }
    for (HFONT font : fonts) {
        DeleteObject(font);
    }
    if (logo != nullptr) {
        DestroyIcon(logo);
    }
}

void frm_CURP::Show(int showCommand)
{
    ShowWindow(window, showCommand);
    SetFocus(GetDlgItem(window, kTxt + 0));
}

const wchar_t* frm_CURP::webAddress() noexcept
{
    return L"https://www.gob.mx/curp/";
}

const wchar_t* frm_CURP::webText() noexcept
{
    return kWebText;
}

void frm_CURP::PlaceControls(UINT newDpi)
{
    dpi = newDpi;
    const auto px = [this](int twips) {
        return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
    };
    for (HFONT font : fonts) {
        DeleteObject(font);
    }
    fonts = {MakeFont(L"Tahoma", 825, FW_NORMAL, false, dpi),
             MakeFont(L"Arial", 1200, FW_BOLD, false, dpi),
             MakeFont(L"Tahoma", 825, FW_NORMAL, true, dpi),
             MakeFont(L"Arial", 825, FW_NORMAL, false, dpi)};

    RECT frame{0, 0, px(kClientWidth), px(kClientHeight)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);

    if (logo != nullptr) {
        DestroyIcon(logo);
    }
    logo = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, px(480), px(480), 0));
    SendDlgItemMessageW(window, kImage1, STM_SETICON, reinterpret_cast<WPARAM>(logo), 0);

    const HDC dc = GetDC(window);
    for (const Control& control : kControls) {
        const HWND item = GetDlgItem(window, control.id);
        const HFONT font = fonts.at(static_cast<std::size_t>(control.font));
        SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        int width = px(control.width);
        int height = px(control.height);
        // Labels size themselves to their text; a list's height takes in its drop.
        if (control.kind == std::wstring_view(WC_STATICW) && (control.style & SS_ICON) == 0) {
            SIZE size{};
            SelectObject(dc, font);
            GetTextExtentPoint32W(dc, control.text, static_cast<int>(wcslen(control.text)), &size);
            width = size.cx + px(30); // and the room an underline or italic letter takes
        } else if (control.kind == std::wstring_view(WC_COMBOBOXW)) {
            height = px(kListDrop);
        }
        SetWindowPos(item, nullptr, px(control.left), px(control.top), width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ReleaseDC(window, dc);
    txtCURP->SetMaxTipWidth(px(6000));
    InvalidateRect(window, nullptr, TRUE);
}

void frm_CURP::Paint()
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const auto px = [this](int twips) {
        return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
    };
    const int thickness = std::max(1, MulDiv(1, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI));
    for (auto [top, colour] :
         {std::pair{kLine1Top, COLOR_BTNSHADOW}, {kLine2Top, COLOR_BTNHIGHLIGHT}}) {
        const RECT line{px(kLineLeft), px(top), px(kLineRight), px(top) + thickness};
        FillRect(dc, &line, GetSysColorBrush(colour));
    }
    EndPaint(window, &paint);
}

void frm_CURP::Form_Load()
{
    SendDlgItemMessageW(window, kCmbSexo, CB_SETCURSEL, 0, 0);
    DescribeSex();
}

void frm_CURP::DescribeSex()
{
    // "0:Masculino" gives H, "1:Femenino" M: "Masculino (H en la clave)".
    const HWND list = GetDlgItem(window, kCmbSexo);
    const LRESULT entry = SendMessageW(list, CB_GETCURSEL, 0, 0);
    std::wstring text;
    if (entry != CB_ERR) {
        text.resize(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXTLEN, entry, 0)));
        SendMessageW(list, CB_GETLBTEXT, entry, reinterpret_cast<LPARAM>(text.data()));
        text = Wide(
            curp::SexEntryDescription(Utf8(text.substr(text.find(L':') + 1)), SexLetter(entry)));
    }
    sexTip->SetText(text);
}

void frm_CURP::CmdCalc_Click()
{
    // The texts as the boxes and lists hold them, to the library's one door:
    // it reads the names in upper case, without accents, as the registry
    // writes them, and the date as it was typed. "M" with no sex chosen.
    const std::string Ap = TextOf(GetDlgItem(window, kTxt + 0));
    const std::string Am = TextOf(GetDlgItem(window, kTxt + 1));
    const std::string Nm = TextOf(GetDlgItem(window, kTxt + 2));
    const std::string FB = TextOf(GetDlgItem(window, kDtP));
    const LRESULT sex = SendDlgItemMessageW(window, kCmbSexo, CB_GETCURSEL, 0, 0);
    const std::string CveSexo = SexLetter(sex);
    const LRESULT state = SendDlgItemMessageW(window, kCmbEnt, CB_GETCURSEL, 0, 0);
    const auto states = curp::States();
    const std::string CveEnt = state >= 0 && static_cast<std::size_t>(state) < states.size()
                                   ? std::string(states[static_cast<std::size_t>(state)].code)
                                   : std::string();
    const curp::RequestRules rules{.today = Today(), .stateRequired = false, .wholeKeyOnly = false};
    const curp::PersonAnswer answer = curp::AnswerRequest({Ap, Am, Nm, FB, CveSexo, CveEnt}, rules);
    if (answer.Has(curp::Problem::Date)) {
        const std::wstring problem = Wide(answer.birth.problem);
        txtCURP->Show({}, problem, problem, true);
        return;
    }
    // The tooltip: the warnings and doubts, then each piece of the key
    // explained. The reasons in view: what makes the key doubtful or missing.
    const curp::KeyExplanation explanation = curp::ExplainKey(answer.trace);
    const bool notRegistry = !curp::CouldBeRegistryKey(explanation);
    std::wstring lines;
    std::wstring reasons;
    if (notRegistry && !answer.key.empty()) {
        reasons += Wide(curp::kNotRegistryKeyText) + L"\r\n";
    }
    std::vector<std::string> warnings = Warnings();
    for (const curp::KeyDoubt& doubt : answer.doubts) {
        // The explanation's notes tell of these two.
        if (doubt.doubt != curp::Doubt::AbbreviatedName && doubt.doubt != curp::Doubt::SignIsX) {
            warnings.push_back(curp::Describe(doubt));
        }
    }
    for (const std::string& warning : warnings) {
        lines += Wide(warning) + L"\r\n";
        reasons += Sentence(Wide(warning)) + L"\r\n";
    }
    for (const std::string& line : curp::Describe(explanation)) {
        lines += Wide(line) + L"\r\n";
    }
    for (const curp::KeyNote& note : explanation.notes) {
        // Said of every key, and shown with its explanation only.
        if (note.kind != curp::NoteKind::RegistryAssigns) {
            reasons += Wide(curp::Describe(note)) + L"\r\n";
        }
    }
    txtCURP->Show(answer.key, lines, reasons, notRegistry || !warnings.empty());
}

std::vector<std::string> frm_CURP::Warnings() const
{
    if (dateEdited) {
        return {};
    }
    return {curp::UntouchedDateWarning()};
}

void frm_CURP::DataChanged(int id)
{
    if (id == kDtP) {
        dateEdited = true;
    }
    if (txtCURP) {
        txtCURP->MarkStale();
    }
    sexInDoubt = false;
}

int frm_CURP::SearchSexo(const std::string& typed)
{
    if (curp::SexLetterInDoubt(typed)) {
        poppedTip->Show(GetDlgItem(window, kCmbSexo), Wide(curp::kAmbiguousSexText));
        sexInDoubt = true;
        return -1;
    }
    if (std::exchange(sexInDoubt, false)) {
        poppedTip->Hide();
    }
    switch (curp::SearchSex(typed)) {
    case 'H':
        return 0;
    case 'M':
        return 1;
    default:
        // The entry's own text: "1" is 1:Femenino.
        const std::wstring wide = Wide(typed);
        return static_cast<int>(SendDlgItemMessageW(window, kCmbSexo, CB_FINDSTRING,
                                                    static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(wide.c_str())));
    }
}

void frm_CURP::Txt_GotFocus(int Index)
{
    // All of the text, however long, so that typing replaces all of it.
    SendDlgItemMessageW(window, kTxt + Index, EM_SETSEL, 0, -1);
}

void frm_CURP::lblweb_Click()
{
    Module1::OpenLink(webAddress(), window);
}

LRESULT CALLBACK frm_CURP::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<frm_CURP*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<frm_CURP*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return form != nullptr ? form->Handle(message, wParam, lParam)
                           : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT frm_CURP::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == kCmdCalc && code == BN_CLICKED) {
            CmdCalc_Click();
        } else if (id == IDCANCEL) {
            // Escape puts away the reasons shown.
            poppedTip->Hide();
        } else if (id >= kTxt && id < kTxt + 3 && code == EN_SETFOCUS) {
            Txt_GotFocus(id - kTxt);
        } else if ((id >= kTxt && id <= kDtP && code == EN_CHANGE) ||
                   ((id == kCmbSexo || id == kCmbEnt) && code == CBN_SELCHANGE)) {
            DataChanged(id);
            if (id == kCmbSexo) {
                DescribeSex();
            }
        } else if (id == kDtPDrop && code == BN_CLICKED) {
            DtP->OpenCalendar();
        } else if (id == kWeb && code == STN_CLICKED) {
            lblweb_Click();
        }
        return 0;
    }
    case WM_NOTIFY:
        if (DtP && DtP->Notified(*reinterpret_cast<const NMHDR*>(lParam))) {
            return 0;
        }
        break;
    case WM_DRAWITEM:
        if (wParam == kDtPDrop) {
            DateBox::DrawDropButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // The link navy blue; a doubtful key red, a stale one grey.
        const LRESULT brush = DefWindowProcW(window, message, wParam, lParam);
        const HWND control = reinterpret_cast<HWND>(lParam);
        const HDC dc = reinterpret_cast<HDC>(wParam);
        if (control == GetDlgItem(window, kWeb)) {
            SetTextColor(dc, RGB(0, 0, 128));
        } else if (control == GetDlgItem(window, kTxtCURP) &&
                   txtCURP->TextColour() != CLR_INVALID) {
            SetTextColor(dc, txtCURP->TextColour());
        }
        return brush;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == GetDlgItem(window, kWeb)) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_DPICHANGED: {
        // Moved to a monitor of other dots per inch: where Windows suggests, redrawn for them.
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PlaceControls(HIWORD(wParam));
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
