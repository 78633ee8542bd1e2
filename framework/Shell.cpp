#include "framework/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QUrl>
#include <QWidget>

#ifdef Q_OS_WIN
// windows.h first: the shell headers rely on its types.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#endif

namespace tintara::shell {
namespace {

Opener& CurrentOpener() {
    static Opener opener = SystemOpen;
    return opener;
}

#ifdef Q_OS_WIN
// Resolves a .lnk file through the shell link object. The COM library is initialised
// for the call and released after it; every interface obtained is released.
std::optional<ShortcutTarget> ResolveShellLink(const QString& fileName, QWidget* owner) {
    const HRESULT init = CoInitialize(nullptr);
    std::optional<ShortcutTarget> result;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            const std::wstring path = QDir::toNativeSeparators(fileName).toStdWString();
            // The top-level window: asking a child for its id would make it native.
            const HWND window = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
            wchar_t target[MAX_PATH] = {};
            wchar_t folder[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
                SUCCEEDED(link->Resolve(window, SLR_ANY_MATCH)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_SHORTPATH)) &&
                SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH))) {
                result = ShortcutTarget{QString::fromWCharArray(target),
                                        QString::fromWCharArray(folder)};
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return result;
}
#endif

} // namespace

bool IsProgramFile(const QString& fileName) {
    const QFileInfo info(fileName);
#ifdef Q_OS_WIN
    const QString suffix = info.suffix().toLower();
    return suffix == QLatin1String("exe") || suffix == QLatin1String("com") ||
           suffix == QLatin1String("bat");
#else
    return info.isFile() && info.isExecutable();
#endif
}

bool IsAddress(const QString& target) {
    const QUrl url(target);
    return url.isValid() && url.scheme().size() >= 2 && !QFileInfo::exists(target);
}

void SystemOpen(const OpenRequest& request) {
    if (request.target.isEmpty())
        return;
#ifdef Q_OS_WIN
    // The shell's "open" verb: programs start, documents open in their program and
    // addresses in the browser or the mail program, as from the desktop.
    const QString target =
        IsAddress(request.target) ? request.target : QDir::toNativeSeparators(request.target);
    const QString folder = QDir::toNativeSeparators(request.workingFolder);
    ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(target.utf16()), nullptr,
                  folder.isEmpty() ? nullptr : reinterpret_cast<const wchar_t*>(folder.utf16()),
                  SW_SHOWNORMAL);
#else
    if (IsAddress(request.target)) {
        QDesktopServices::openUrl(QUrl(request.target));
        return;
    }
    if (IsProgramFile(request.target)) {
        // An absolute path, so that a bare name is not looked up in PATH instead.
        QProcess::startDetached(QFileInfo(request.target).absoluteFilePath(), {},
                                request.workingFolder);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(request.target));
#endif
}

Opener SetOpener(Opener opener) {
    Opener previous = std::move(CurrentOpener());
    CurrentOpener() = opener ? std::move(opener) : Opener(SystemOpen);
    return previous;
}

void Open(const QString& target, const QString& workingFolder) {
    // Copied so that an opener replacing itself while it runs stays valid.
    const Opener opener = CurrentOpener();
    opener(OpenRequest{target, workingFolder});
}

QIcon AssociatedIcon(const QString& fileName) {
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists())
        return {};
#ifdef Q_OS_WIN
    // The shell's icon for the file: its own for a program, its type's otherwise.
    wchar_t path[MAX_PATH] = {};
    const QString native = QDir::toNativeSeparators(info.absoluteFilePath());
    if (native.size() >= MAX_PATH)
        return {};
    native.toWCharArray(path);
    WORD index = 0;
    HICON icon = ExtractAssociatedIconW(GetModuleHandleW(nullptr), path, &index);
    if (icon == nullptr) {
        // Some systems know the file type's icon only through the file information.
        SHFILEINFOW file = {};
        if (SHGetFileInfoW(reinterpret_cast<const wchar_t*>(native.utf16()), 0, &file, sizeof file,
                           SHGFI_ICON | SHGFI_LARGEICON) != 0)
            icon = file.hIcon;
    }
    if (icon == nullptr)
        return {};
    const QImage image = QImage::fromHICON(icon);
    DestroyIcon(icon);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
#else
    const QFileIconProvider provider;
    return provider.icon(info);
#endif
}

bool IsShortcut(const QString& fileName) {
#ifdef Q_OS_WIN
    return fileName.endsWith(QLatin1String(".lnk"), Qt::CaseInsensitive);
#else
    return QFileInfo(fileName).isSymLink();
#endif
}

std::optional<ShortcutTarget> ResolveShortcut(const QString& fileName, QWidget* owner) {
#ifdef Q_OS_WIN
    if (!IsShortcut(fileName))
        return std::nullopt;
    return ResolveShellLink(fileName, owner);
#else
    Q_UNUSED(owner);
    const QFileInfo link(fileName);
    if (!link.isSymLink())
        return std::nullopt;
    // The final target of a chain of links; empty when it does not exist.
    const QString target = link.canonicalFilePath();
    if (target.isEmpty())
        return std::nullopt;
    return ShortcutTarget{target, QFileInfo(target).absolutePath() + QLatin1Char('/')};
#endif
}

} // namespace tintara::shell
