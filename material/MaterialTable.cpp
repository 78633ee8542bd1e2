#include "MaterialTable.h"

#include <algorithm>

namespace tintara {

void MaterialTable::clear() {
    m_records.clear();
    m_listHeaders.clear();
    m_stamp = {};
}

bool MaterialTable::anyModified() const {
    return std::any_of(m_records.begin(), m_records.end(),
                       [](const MaterialRecord& r) { return r.Modified != 0; });
}

} // namespace tintara
