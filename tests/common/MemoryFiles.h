#pragma once
// A model file and its journal in memory, for tests and fuzz targets of the save: the
// same interfaces as the files on disk, with a crash that can be set at any step.

#include "material/RandomAccessFile.h"
#include "material/SaveJournal.h"

#include <cstring>
#include <optional>
#include <vector>

namespace tintara::test {

// A model file and its journal in memory. From operation `crashAt` on (counting the
// journal's write and removal and every write, sync and close of the file), every
// operation fails, as after a crash; a write that fails leaves its first half written.
struct MemoryDisk {
    explicit MemoryDisk(std::vector<unsigned char> bytes) : model(std::move(bytes)) {}
    std::vector<unsigned char> model;
    std::optional<std::vector<unsigned char>> journal;
    int operations = 0;
    int crashAt = -1;
    bool renamed = false;
    bool lockedElsewhere = false; // another program holds the save lock

    void step() {
        if (crashAt >= 0 && operations++ >= crashAt)
            throw IoError("Cannot write to 'memory.mdl': Input/output error");
    }
};

class MemoryFile final : public RandomAccessFile {
public:
    explicit MemoryFile(MemoryDisk& disk) : m_disk(disk) {}
    std::string name() const override { return "memory.mdl"; }
    FileStamp stamp() override { return {true, m_disk.model.size(), 1, 1}; }
    bool lockForSave() override { return !m_disk.lockedElsewhere; }
    void readAt(std::uint64_t offset, std::span<unsigned char> bytes) override {
        std::memcpy(bytes.data(), m_disk.model.data() + offset, bytes.size());
    }
    void writeAt(std::uint64_t offset, std::span<const unsigned char> bytes) override {
        if (m_disk.crashAt >= 0 && m_disk.operations >= m_disk.crashAt)
            std::memcpy(m_disk.model.data() + offset, bytes.data(), bytes.size() / 2);
        m_disk.step();
        std::memcpy(m_disk.model.data() + offset, bytes.data(), bytes.size());
    }
    void sync() override { m_disk.step(); }
    void close() override { m_disk.step(); }
    bool pathNamesThisFile() override { return !m_disk.renamed; }

private:
    MemoryDisk& m_disk;
};

class MemoryJournal final : public JournalStore {
public:
    explicit MemoryJournal(MemoryDisk& disk) : m_disk(disk) {}
    std::string name() const override { return "memory.mdl.tintara-journal"; }
    bool exists() override { return m_disk.journal.has_value(); }
    std::vector<unsigned char> read() override { return *m_disk.journal; }
    void write(std::span<const unsigned char> bytes) override {
        m_disk.step();
        m_disk.journal = std::vector<unsigned char>(bytes.begin(), bytes.end());
    }
    void remove() override {
        m_disk.step();
        m_disk.journal.reset();
    }

private:
    MemoryDisk& m_disk;
};

} // namespace tintara::test
