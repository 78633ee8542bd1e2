#include "JournalPlaces.h"

#include "ByteSource.h"
#include "RegularFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

namespace tintara {
namespace {

std::filesystem::path Resolved(const std::filesystem::path& model) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::canonical(model, error);
    return error ? std::filesystem::absolute(model, error) : resolved;
}

std::string Identity(const FileStamp& stamp) {
    char text[48];
    std::snprintf(text, sizeof text, "%llx-%llx", static_cast<unsigned long long>(stamp.device),
                  static_cast<unsigned long long>(stamp.inode));
    return text;
}

// The record holds the journal's path as UTF-8.
std::optional<std::filesystem::path> ReadRecord(const std::filesystem::path& record) {
    try {
        if (record.empty() || !PathExists(record))
            return std::nullopt;
        RegularFile file(record, RegularFile::Access::Read);
        const std::uint64_t size = file.stamp().size;
        if (size == 0 || size > 65536)
            return std::nullopt;
        std::string text(static_cast<std::size_t>(size), '\0');
        file.readAt(0, std::span(reinterpret_cast<unsigned char*>(text.data()), text.size()));
        return std::filesystem::path(std::u8string(text.begin(), text.end()));
    } catch (const IoError&) {
        return std::nullopt;
    }
}

} // namespace

std::filesystem::path UserStateFolder() {
#ifdef _WIN32
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || *local == L'\0')
        return {};
    return std::filesystem::path(local) / L"Tintara";
#else
    const char* state = std::getenv("XDG_STATE_HOME");
    // Relative values are invalid and ignored, as the base directory rules say.
    if (state != nullptr && state[0] == '/')
        return std::filesystem::path(state) / "tintara";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/')
        return {};
    return std::filesystem::path(home) / ".local" / "state" / "tintara";
#endif
}

JournalPlaces JournalPlacesFor(const std::filesystem::path& model, const FileStamp& identity) {
    JournalPlaces places;
    places.beside = JournalPathFor(model);
    const std::filesystem::path state = UserStateFolder();
    if (!state.empty()) {
        places.inState = state / (Identity(identity) + ".tintara-journal");
        places.record = state / (Identity(identity) + ".tintara-where");
    }
    return places;
}

std::filesystem::path JournalPathFor(const std::filesystem::path& model) {
    std::filesystem::path journal = Resolved(model);
    journal += ".tintara-journal";
    return journal;
}

std::vector<std::filesystem::path> JournalCandidates(const JournalPlaces& places) {
    std::vector<std::filesystem::path> candidates{places.beside};
    const auto add = [&](const std::filesystem::path& path) {
        if (!path.empty() &&
            std::find(candidates.begin(), candidates.end(), path) == candidates.end())
            candidates.push_back(path);
    };
    add(places.inState);
    if (const auto recorded = ReadRecord(places.record))
        add(*recorded);
    return candidates;
}

void WriteJournalRecord(const JournalPlaces& places, const std::filesystem::path& journal) {
    if (places.record.empty())
        throw IoError("Cannot record the journal '" + PathText(journal) +
                      "': no state folder is set (HOME)");
    std::error_code error;
    std::filesystem::create_directories(places.record.parent_path(), error);
    RemoveJournalRecord(places, {});
    const std::u8string text = journal.u8string();
    std::optional<NewFile> file(std::in_place, places.record);
    try {
        file->write(std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
        file->sync();
        file->close();
        SyncFolderOf(places.record);
    } catch (const IoError&) {
        file.reset();
        std::filesystem::remove(places.record, error);
        throw;
    }
}

void RemoveJournalRecord(const JournalPlaces& places, const std::filesystem::path& journal) {
    if (places.record.empty() || !PathExists(places.record))
        return;
    if (!journal.empty() && ReadRecord(places.record) != journal)
        return;
    RemoveFile(places.record);
}

} // namespace tintara
