#pragma once
// Shell services over Qt and the OS: the icon associated with a file, resolving
// shortcuts, and opening a file, a program or an address. Every failure is silent.
//
// Opening goes through a replaceable opener so that tests can record requests instead
// of starting anything (see ScopedOpener).

#include <QIcon>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace tintara::shell {

// What to open and the folder to start it in (may be empty).
struct OpenRequest {
    QString target;
    QString workingFolder;
};

using Opener = std::function<void(const OpenRequest&)>;

// The real opener. On Windows the shell's "open" verb (ShellExecuteW) in the working
// folder. Elsewhere a program file (executable bit) is started detached in the working
// folder; an address with a scheme ("https:", "mailto:") or any other file goes to
// QDesktopServices.
void SystemOpen(const OpenRequest& request);

// Replaces the opener used by Open (an empty function restores SystemOpen);
// returns the previous one.
Opener SetOpener(Opener opener);

// Hands the request to the current opener; nothing is reported.
void Open(const QString& target, const QString& workingFolder = {});

// Replaces the opener for the lifetime of the object, e.g. in tests.
class ScopedOpener {
public:
    explicit ScopedOpener(Opener opener) : m_previous(SetOpener(std::move(opener))) {}
    ~ScopedOpener() { SetOpener(std::move(m_previous)); }
    ScopedOpener(const ScopedOpener&) = delete;
    ScopedOpener& operator=(const ScopedOpener&) = delete;

private:
    Opener m_previous;
};

// True for a program file as SystemOpen understands it.
bool IsProgramFile(const QString& fileName);

// An address with a URL scheme of two or more letters ("https:", "mailto:"), as
// opposed to a file name (a drive letter is not a scheme).
bool IsAddress(const QString& target);

// The icon the system associates with the file (on Windows the shell's, through
// ExtractAssociatedIconW); empty when the file does not exist or no icon is known.
QIcon AssociatedIcon(const QString& fileName);

// A shortcut file: on Windows a ".lnk" file (any letter case), elsewhere a symbolic
// link.
bool IsShortcut(const QString& fileName);

struct ShortcutTarget {
    QString path;
    QString workingFolder;
};

// Resolves a shortcut to its target and working folder: on Windows through the shell
// link object (owner parents any search dialog the shell shows); elsewhere a symbolic
// link to its final existing target, with the target's folder as working folder.
// Empty when any step fails.
std::optional<ShortcutTarget> ResolveShortcut(const QString& fileName, QWidget* owner);

} // namespace tintara::shell
