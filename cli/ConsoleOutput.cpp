#include "ConsoleOutput.h"

#ifdef _WIN32
#include <cerrno>
#include <windows.h>
#endif

namespace tintara::cli {

std::size_t CompleteUtf8Prefix(std::string_view text) {
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: its lead byte is further back
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

#ifdef _WIN32
namespace {

// Held bytes beyond this are written without waiting for a flush.
constexpr std::size_t BufferLimit = 8192;

void SetErrnoFromLastError() {
    switch (GetLastError()) {
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
        errno = EPIPE;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    default:
        errno = EIO;
    }
}

} // namespace

ConsoleOutputBuffer::ConsoleOutputBuffer(void* handle) : m_handle(handle) {
    DWORD mode = 0;
    m_console = GetConsoleMode(static_cast<HANDLE>(handle), &mode) != 0;
}

ConsoleOutputBuffer::~ConsoleOutputBuffer() {
    sync();
}

ConsoleOutputBuffer::int_type ConsoleOutputBuffer::overflow(int_type ch) {
    if (traits_type::eq_int_type(ch, traits_type::eof()))
        return sync() == 0 ? traits_type::not_eof(ch) : traits_type::eof();
    const char c = traits_type::to_char_type(ch);
    return xsputn(&c, 1) == 1 ? ch : traits_type::eof();
}

std::streamsize ConsoleOutputBuffer::xsputn(const char* text, std::streamsize count) {
    m_pending.append(text, static_cast<std::size_t>(count));
    if (m_pending.size() >= BufferLimit && !Write(CompleteUtf8Prefix(m_pending)))
        return 0;
    return count;
}

int ConsoleOutputBuffer::sync() {
    return Write(m_pending.size()) ? 0 : -1;
}

bool ConsoleOutputBuffer::Write(std::size_t count) {
    const auto handle = static_cast<HANDLE>(m_handle);
    bool ok = true;
    if (count == 0) {
        return true;
    } else if (m_console) {
        const int wideCount =
            MultiByteToWideChar(CP_UTF8, 0, m_pending.data(), static_cast<int>(count), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(wideCount), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, m_pending.data(), static_cast<int>(count), wide.data(),
                            wideCount);
        for (std::size_t done = 0; ok && done < wide.size();) {
            DWORD written = 0;
            const DWORD left = static_cast<DWORD>(wide.size() - done);
            ok = WriteConsoleW(handle, wide.data() + done, left, &written, nullptr) && written > 0;
            done += written;
        }
    } else {
        for (std::size_t done = 0; ok && done < count;) {
            DWORD written = 0;
            const DWORD left = static_cast<DWORD>(count - done);
            ok = WriteFile(handle, m_pending.data() + done, left, &written, nullptr) && written > 0;
            done += written;
        }
    }
    if (!ok) {
        SetErrnoFromLastError();
        m_pending.clear(); // what was not written is lost; the stream reports it
        return false;
    }
    m_pending.erase(0, count);
    return true;
}
#endif

} // namespace tintara::cli
