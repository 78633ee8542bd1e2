#pragma once
// The tool's standard output and error on Windows. A console is written with
// WriteConsoleW, so every character shows whatever the console's code page is (the tool
// never changes it: other programs in the same window would print garbled accents
// afterwards); a pipe or file gets the UTF-8 bytes unchanged.

#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>

namespace tintara::cli {

// Length of the longest start of `text` that does not end inside a UTF-8 sequence
// which the bytes still to come may complete: the part that can be converted now.
std::size_t CompleteUtf8Prefix(std::string_view text);

#ifdef _WIN32
class ConsoleOutputBuffer final : public std::streambuf {
public:
    // `handle` is a standard handle (a HANDLE); it is not closed.
    explicit ConsoleOutputBuffer(void* handle);
    ~ConsoleOutputBuffer() override;
    ConsoleOutputBuffer(const ConsoleOutputBuffer&) = delete;
    ConsoleOutputBuffer& operator=(const ConsoleOutputBuffer&) = delete;

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    // Writes everything held; -1, with errno set, when the handle refuses it.
    int sync() override;

private:
    bool Write(std::size_t count);

    void* m_handle;
    bool m_console;
    std::string m_pending;
};
#endif

} // namespace tintara::cli
