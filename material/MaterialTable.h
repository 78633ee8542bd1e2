#pragma once
// The materials found by the last scan, in file order (ascending FileOffset). The
// table index of an entry is the position of its line in the material list.

#include "FileStamp.h"
#include "MaterialRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tintara {

// The 8-byte header of a material list, where the scan found it.
struct ListHeader {
    std::int64_t offset = 0;
    std::array<unsigned char, 8> bytes = {};
};

class MaterialTable {
public:
    std::size_t count() const { return m_records.size(); }
    bool empty() const { return m_records.empty(); }

    MaterialRecord& operator[](std::size_t index) { return m_records[index]; }
    const MaterialRecord& operator[](std::size_t index) const { return m_records[index]; }

    const std::vector<MaterialRecord>& records() const { return m_records; }

    // Empties the table but keeps its storage, so a rescan allocates nothing new
    // unless the file holds more materials than any earlier one.
    void clear();
    void append(const MaterialRecord& record) { m_records.push_back(record); }

    // The header of every list the scan found, in file order.
    const std::vector<ListHeader>& listHeaders() const { return m_listHeaders; }
    void appendListHeader(const ListHeader& header) { m_listHeaders.push_back(header); }

    bool anyModified() const;

    // The file as the scan that filled the table saw it.
    const FileStamp& stamp() const { return m_stamp; }
    void setStamp(const FileStamp& stamp) { m_stamp = stamp; }

private:
    std::vector<MaterialRecord> m_records;
    std::vector<ListHeader> m_listHeaders;
    FileStamp m_stamp;
};

} // namespace tintara
