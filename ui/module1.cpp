#include "module1.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#include <string>
#endif

void Module1::OpenLink(const QString& address, QWidget* owner)
{
#ifdef Q_OS_WIN
    // The shell's "open" with the window as owner, so any message the shell
    // shows stays in front of it. Qt's own call has no owner window.
    const std::wstring file = address.toStdWString();
    const HWND ownerWindow = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    ShellExecuteW(ownerWindow, L"open", file.c_str(), L"", L"", SW_SHOWNORMAL);
#else
    Q_UNUSED(owner);
    QDesktopServices::openUrl(QUrl(address));
#endif
}
