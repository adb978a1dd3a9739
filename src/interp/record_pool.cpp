// Stack-like allocation of variable records.
#include "record_pool.h"

namespace orvane {

tVariable* RecordPool::make(std::int32_t typ) {
    if (m_used == m_records.size())
        m_records.push_back(std::make_unique<tVariable>());
    tVariable* record = m_records[m_used++].get();
    record->resetTo(typ);
    return record;
}

void RecordPool::releaseTo(std::size_t mark) {
    if (mark < m_used)
        m_used = mark;
}

void RecordPool::freeAll() {
    std::vector<std::unique_ptr<tVariable>>().swap(m_records);
    m_used = 0;
}

} // namespace orvane
