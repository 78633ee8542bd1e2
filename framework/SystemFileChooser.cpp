#include "framework/FileChooser.h"

#include <QtGlobal> // Q_OS_WIN

#ifdef Q_OS_WIN
#include <QDir>
#include <QWidget>

#include <windows.h>

#include <commdlg.h>

#include <string>
#endif

namespace tintara {

#ifdef Q_OS_WIN
namespace {

// "Aircraft Model (*.mdl)" becomes the pair the common dialog takes: the text as
// shown, then the patterns between the last brackets, separated by ';'.
void AppendFilter(std::wstring& filters, const QString& filter) {
    QString patterns = filter;
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    if (open >= 0 && close > open)
        patterns = filter.mid(open + 1, close - open - 1);
    patterns = patterns.simplified().replace(QLatin1Char(' '), QLatin1Char(';'));
    filters += filter.toStdWString();
    filters += L'\0';
    filters += patterns.toStdWString();
    filters += L'\0';
}

} // namespace

std::optional<FileChoice> SystemFileChooser::ChooseFileToOpen(QWidget* owner,
                                                              const FileChoiceRequest& request) {
    std::wstring filters;
    for (const QString& filter : request.filters)
        AppendFilter(filters, filter);
    filters += L'\0';
    const std::wstring folder = QDir::toNativeSeparators(request.initialFolder).toStdWString();
    // Room for the longest path the system takes.
    std::wstring file(32768, L'\0');

    OPENFILENAMEW open{};
    open.lStructSize = sizeof(open);
    open.hwndOwner = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    open.lpstrFilter = filters.c_str();
    open.nFilterIndex =
        static_cast<DWORD>(request.filterIndex >= 1 && request.filterIndex <= request.filters.size()
                               ? request.filterIndex
                               : 1);
    open.lpstrFile = file.data();
    open.nMaxFile = static_cast<DWORD>(file.size());
    open.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
    if (!GetOpenFileNameW(&open))
        return std::nullopt; // cancelled
    FileChoice choice;
    choice.path = QString::fromWCharArray(file.c_str());
    choice.filterIndex = static_cast<int>(open.nFilterIndex);
    if (choice.filterIndex < 1 || choice.filterIndex > request.filters.size())
        choice.filterIndex = 1;
    return choice;
}

#else

std::optional<FileChoice> SystemFileChooser::ChooseFileToOpen(QWidget* owner,
                                                              const FileChoiceRequest& request) {
    return QtFileChooser().ChooseFileToOpen(owner, request);
}

#endif

} // namespace tintara
