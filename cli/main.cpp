#include "cli/CliApp.h"
#include "cli/ConsoleOutput.h"
#include "cli/TerminalText.h"

#include <cerrno>
#include <cstring>

#include <iostream>

#ifndef _WIN32
#include <signal.h>
#endif

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

namespace {

// The command line as UTF-8 words: Windows hands `main` its arguments in the ANSI code
// page, which cannot name every file.
std::vector<std::string> Utf8Arguments() {
    std::vector<std::string> words;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return words;
    for (int i = 1; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string word(size > 0 ? static_cast<std::size_t>(size) : 1u, '\0');
        if (size > 0)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, word.data(), size, nullptr, nullptr);
        word.pop_back(); // the terminating zero
        words.push_back(std::move(word));
    }
    LocalFree(wide);
    return words;
}

} // namespace
#endif

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
    // What the tool prints is UTF-8, file names included: shown as such in a console
    // whatever its code page, written as such to a pipe or file.
    const std::vector<std::string> args = Utf8Arguments();
    tintara::cli::ConsoleOutputBuffer outBuffer(GetStdHandle(STD_OUTPUT_HANDLE));
    tintara::cli::ConsoleOutputBuffer errBuffer(GetStdHandle(STD_ERROR_HANDLE));
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    // As std::cerr: written at once, after what standard output holds.
    err.setf(std::ios::unitbuf);
    err.tie(&out);
#else
    // A write past the file size limit fails with EFBIG, which the save rolls back and
    // reports, instead of ending the process half way.
    ::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::ostream& out = std::cout;
    std::ostream& err = std::cerr;
#endif
    const int code = tintara::cli::Run(args, out, err);
    errno = 0;
    out.flush();
    if (!out.good()) {
        // A full disk or a closed pipe: the output is incomplete, which must not pass
        // for success.
        const std::string reason = errno != 0 ? std::strerror(errno) : "the output failed";
        tintara::cli::ReportError(err, "cannot write the output: " + reason);
        return tintara::cli::ExitFailure;
    }
    return code;
}
