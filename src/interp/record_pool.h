// RecordPool: where every variable record of a run lives.
//
// Calls nest strictly, so records are handed out like a stack: a call remembers the
// pool's mark when it starts and gives everything above it back when it ends (also
// when an error leaves the call). Records are reused, keeping their string and vector
// capacity, so a call costs no allocation once the pool has grown.
#pragma once

#include "variable.h"

#include <memory>
#include <vector>

namespace orvane {

class RecordPool {
  public:
    tVariable* make(std::int32_t typ);
    std::size_t mark() const { return m_used; }
    void releaseTo(std::size_t mark);
    // Frees every record and the pool's own storage (no call may be active). Used when a run
    // ran out of memory: releaseTo keeps the records and their capacity for reuse.
    void freeAll();

  private:
    std::vector<std::unique_ptr<tVariable>> m_records;
    std::size_t m_used = 0;
};

} // namespace orvane
