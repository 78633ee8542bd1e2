#include "PendingSave.h"

#include "MaterialScanner.h"
#include "SaveJournal.h"

#include <algorithm>
#include <optional>

namespace tintara {
namespace {

std::string Quoted(const std::string& text) {
    std::string quoted;
    return quoted.append("'").append(text).append("'");
}

// The model's bytes from its start, read through the open file.
class OpenFileSource final : public ByteSource {
public:
    explicit OpenFileSource(const RegularFile& file) : m_file(file), m_size(file.stamp().size) {}
    std::size_t read(std::span<unsigned char> buffer) override {
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), m_size - m_position));
        if (n > 0)
            m_file.readAt(m_position, buffer.first(n));
        m_position += n;
        return n;
    }

private:
    const RegularFile& m_file;
    std::uint64_t m_size;
    std::uint64_t m_position = 0;
};

bool OnAMaterialEntry(const std::vector<ListPlace>& lists, std::uint64_t offset) {
    // The last list starting before the entry.
    auto after =
        std::upper_bound(lists.begin(), lists.end(), offset,
                         [](std::uint64_t at, const ListPlace& list) { return at < list.offset; });
    if (after == lists.begin())
        return false;
    const ListPlace& list = *std::prev(after);
    if (offset < list.offset + 8 || (offset - list.offset - 8) % MaterialEntrySize != 0)
        return false;
    return (offset - list.offset - 8) / MaterialEntrySize < list.count;
}

// Why the journal is not one to apply to the model, or nothing when it is.
std::optional<std::string> WhyNotOurs(const RegularFile& journal, const RegularFile& model,
                                      std::optional<Journal>& decoded) {
    if (!journal.ownedByUserOrOwnerOf(model))
        return "it belongs to another user";
    if (journal.writableByOthers())
        return "other users can change it";
    const std::uint64_t size = journal.stamp().size;
    if (size > LargestJournalSize(model.stamp().size))
        return "it is too large for the file";
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    journal.readAt(0, bytes);
    decoded = DecodeJournal(bytes);
    if (!decoded)
        return std::nullopt; // torn: ours, and never applied
    OpenFileSource source(model);
    const std::vector<ListPlace> lists = LocateMaterialLists(source);
    for (const JournalEntry& entry : decoded->entries)
        if (!OnAMaterialEntry(lists, entry.offset))
            return "it would write outside the file's materials";
    return std::nullopt;
}

} // namespace

std::string UnfinishedSaveNote(const std::string& file) {
    std::string text = "An unfinished save of ";
    return text.append(Quoted(file))
        .append(" was found; it had not changed the file, and its journal was removed");
}

std::string SaveRunningMessage(const std::string& file) {
    std::string text = "Another program is saving ";
    return text.append(Quoted(file)).append(" right now; try again when it has finished");
}

PendingSave InspectPendingSave(const RegularFile& model, bool lockHeld, TornJournals torn) {
    PendingSave pending;
    pending.places = JournalPlacesFor(model.path(), model.stamp());
    if (!lockHeld && model.lockedForSave()) {
        // Its journal may be half written right now: leave every journal alone.
        pending.state = PendingState::SaveRunning;
        return pending;
    }
    const std::string file = PathText(model.path());
    for (const std::filesystem::path& path : JournalCandidates(pending.places)) {
        if (!PathExists(path))
            continue;
        std::optional<Journal> decoded;
        std::optional<std::string> why;
        try {
            RegularFile journal(path, RegularFile::Access::Read);
            why = WhyNotOurs(journal, model, decoded);
        } catch (const IoError& error) {
            why = error.what();
        }
        if (why) {
            if (path == pending.places.beside)
                pending.besideUsable = false;
            std::string note = "The journal ";
            pending.notes.push_back(
                note.append(Quoted(PathText(path))).append(" was ignored: ").append(*why));
            continue;
        }
        if (!decoded) {
            if (torn == TornJournals::Keep) {
                if (path == pending.places.beside)
                    pending.besideUsable = false;
                continue;
            }
            try {
                DiskJournal(model.path(), pending.places, path).remove();
                pending.notes.push_back(UnfinishedSaveNote(file));
                ++pending.tornRemoved;
            } catch (const IoError& error) {
                if (path == pending.places.beside)
                    pending.besideUsable = false;
                std::string note = "An unfinished save of ";
                pending.notes.push_back(
                    note.append(Quoted(file))
                        .append(" was found; it had not changed the file, but its journal "
                                "could not be removed: ")
                        .append(error.what()));
            }
            continue;
        }
        if (pending.state == PendingState::None) {
            pending.state = PendingState::Interrupted;
            pending.journal = path;
        }
    }
    return pending;
}

PendingSave InspectPendingSave(const std::filesystem::path& model, TornJournals torn) {
    const RegularFile file(model, RegularFile::Access::Read);
    return InspectPendingSave(file, false, torn);
}

} // namespace tintara
